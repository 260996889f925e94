#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr size_t kOutputLimit = 1024;  // bytes, the terminator included

enum Flags : unsigned {
  kLeftAlign = 1,
  kZeroFill = 2,
  kHexPrefix = 4,
};

struct Conversion {
  unsigned flags = 0;
  size_t width = 0;
  bool hasPrecision = false;
  size_t precision = 0;
  bool wide = false;    // l prefix (or the upper-case %C and %S)
  bool narrow = false;  // h prefix
};

// Collects the output and drops everything beyond the limit.
class Output {
 public:
  explicit Output(char* buffer) : buffer_(buffer) {}
  void Put(char c) {
    if (length_ < kOutputLimit - 1) {
      buffer_[length_++] = c;
    }
  }
  void Put(std::string_view text) {
    for (char c : text) {
      Put(c);
    }
  }
  void Repeat(char c, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      Put(c);
    }
  }
  int Finish() {
    buffer_[length_] = '\0';
    return static_cast<int>(length_);
  }

 private:
  char* buffer_;
  size_t length_ = 0;
};

void AppendUtf8(std::string* out, uint32_t code) {
  if (code < 0x80) {
    *out += static_cast<char>(code);
  } else if (code < 0x800) {
    *out += static_cast<char>(0xC0 | (code >> 6));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *out += static_cast<char>(0xE0 | (code >> 12));
    *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (code >> 18));
    *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// UTF-16 text as UTF-8; unpaired surrogates become "?".
std::string FromUtf16(const WCHAR* text, size_t maxUnits) {
  std::string out;
  for (size_t i = 0; i < maxUnits && text[i] != 0; ++i) {
    uint32_t unit = text[i];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < maxUnits && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      AppendUtf8(&out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else if (unit >= 0xD800 && unit < 0xE000) {
      out += '?';
    } else {
      AppendUtf8(&out, unit);
    }
  }
  return out;
}

void PutPadded(Output& out, const Conversion& conversion, std::string_view text) {
  size_t padding = conversion.width > text.size() ? conversion.width - text.size() : 0;
  if (!(conversion.flags & kLeftAlign)) {
    out.Repeat(' ', padding);
  }
  out.Put(text);
  if (conversion.flags & kLeftAlign) {
    out.Repeat(' ', padding);
  }
}

void PutNumber(Output& out, const Conversion& conversion, uint32_t magnitude, bool negative,
               unsigned base, bool upper, std::string_view prefix) {
  const char* digitSet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string digits;
  do {
    digits.insert(digits.begin(), digitSet[magnitude % base]);
    magnitude /= base;
  } while (magnitude != 0);
  if (conversion.hasPrecision && digits.size() < conversion.precision) {
    digits.insert(0, conversion.precision - digits.size(), '0');
  }
  std::string lead = negative ? "-" : "";
  lead += prefix;
  size_t length = lead.size() + digits.size();
  size_t padding = conversion.width > length ? conversion.width - length : 0;
  if (conversion.flags & kLeftAlign) {
    out.Put(lead);
    out.Put(digits);
    out.Repeat(' ', padding);
  } else if (conversion.flags & kZeroFill) {
    out.Put(lead);
    out.Repeat('0', padding);
    out.Put(digits);
  } else {
    out.Repeat(' ', padding);
    out.Put(lead);
    out.Put(digits);
  }
}

size_t ReadDecimal(const char*& p) {
  size_t value = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + static_cast<size_t>(*p - '0');
    ++p;
  }
  return value;
}

}  // namespace

int wvsprintfA(LPSTR buffer, LPCSTR format, va_list arguments) {
  if (buffer == nullptr) {
    return 0;
  }
  Output out(buffer);
  const char* p = format != nullptr ? format : "";
  while (*p != '\0') {
    if (*p != '%') {
      out.Put(*p++);
      continue;
    }
    ++p;
    Conversion conversion;
    for (;; ++p) {
      if (*p == '-') {
        conversion.flags |= kLeftAlign;
      } else if (*p == '0') {
        conversion.flags |= kZeroFill;
      } else if (*p == '#') {
        conversion.flags |= kHexPrefix;
      } else {
        break;
      }
    }
    conversion.width = ReadDecimal(p);
    if (*p == '.') {
      ++p;
      conversion.hasPrecision = true;
      conversion.precision = ReadDecimal(p);
    }
    if (*p == 'l' || *p == 'w') {
      conversion.wide = true;
      ++p;
    } else if (*p == 'h') {
      conversion.narrow = true;
      ++p;
    }

    const char type = *p;
    if (type == '\0') {
      break;
    }
    ++p;
    switch (type) {
      case 'c':
      case 'C': {
        const bool wide = type == 'C' ? !conversion.narrow : conversion.wide;
        int value = va_arg(arguments, int);
        std::string text;
        if (wide) {
          const WCHAR unit = static_cast<WCHAR>(value);
          text = FromUtf16(&unit, 1);
        } else {
          text = std::string(1, static_cast<char>(value));
        }
        PutPadded(out, conversion, text);
        break;
      }
      case 's':
      case 'S': {
        const bool wide = type == 'S' ? !conversion.narrow : conversion.wide;
        const size_t limit = conversion.hasPrecision ? conversion.precision : SIZE_MAX;
        std::string text;
        if (wide) {
          const WCHAR* value = va_arg(arguments, const WCHAR*);
          text = value != nullptr ? FromUtf16(value, limit) : "(null)";
        } else {
          const char* value = va_arg(arguments, const char*);
          text = value != nullptr ? value : "(null)";
        }
        if (text.size() > limit) {
          text.resize(limit);
        }
        PutPadded(out, conversion, text);
        break;
      }
      case 'd':
      case 'i': {
        const int32_t value = va_arg(arguments, int32_t);
        const uint32_t magnitude =
            value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        PutNumber(out, conversion, magnitude, value < 0, 10, false, "");
        break;
      }
      case 'u':
        PutNumber(out, conversion, va_arg(arguments, uint32_t), false, 10, false, "");
        break;
      case 'x':
      case 'X': {
        const uint32_t value = va_arg(arguments, uint32_t);
        const bool upper = type == 'X';
        std::string_view prefix = (conversion.flags & kHexPrefix) ? (upper ? "0X" : "0x") : "";
        PutNumber(out, conversion, value, false, 16, upper, prefix);
        break;
      }
      case 'p': {
        // All digits of the pointer, upper case, as Windows prints it.
        uintptr_t value = reinterpret_cast<uintptr_t>(va_arg(arguments, void*));
        std::string digits;
        for (int shift = static_cast<int>(sizeof value * 8) - 4; shift >= 0; shift -= 4) {
          digits += "0123456789ABCDEF"[(value >> shift) & 0xF];
        }
        PutPadded(out, conversion, digits);
        break;
      }
      default:
        out.Put(type);  // "%%" and unknown conversions print the character itself
        break;
    }
  }
  return out.Finish();
}

int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int written = wvsprintfA(buffer, format, arguments);
  va_end(arguments);
  return written;
}
