// UTF-8 <-> UTF-16 with the Windows rules for ill-formed input (see code_page.h).
#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsUtf8CodePage(UINT codePage) {
  return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP ||
         codePage == CP_UTF8;
}

bool Overlap(const void* a, size_t aBytes, const void* b, size_t bBytes) {
  auto x = reinterpret_cast<uintptr_t>(a);
  auto y = reinterpret_cast<uintptr_t>(b);
  return x < y + bBytes && y < x + aBytes;
}

int Fail(DWORD code) {
  SetLastError(code);
  return 0;
}

// The range the second byte of a sequence must lie in, by lead byte; the later ones are 80..BF.
// Answers the sequence length, 0 for a byte that cannot start one.
int SequenceLength(unsigned char lead, unsigned char* low, unsigned char* high) {
  *low = 0x80;
  *high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead == 0xE0) *low = 0xA0;
  if (lead == 0xED) *high = 0x9F;  // no encoded surrogates
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead == 0xF0) *low = 0x90;
  if (lead == 0xF4) *high = 0x8F;  // nothing above U+10FFFF
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Decodes all of `text`; `invalid` tells whether anything had to be replaced.
std::u16string DecodeUtf8(const unsigned char* text, size_t length, bool* invalid) {
  std::u16string units;
  units.reserve(length);
  size_t i = 0;
  while (i < length) {
    unsigned char lead = text[i];
    if (lead < 0x80) {
      units.push_back(lead);
      ++i;
      continue;
    }
    unsigned char low, high;
    int needed = SequenceLength(lead, &low, &high);
    uint32_t code = needed == 2 ? lead & 0x1F : needed == 3 ? lead & 0x0F : lead & 0x07;
    size_t taken = 1;
    bool whole = needed != 0;
    for (int k = 1; whole && k < needed; ++k) {
      if (i + taken >= length || text[i + taken] < low || text[i + taken] > high) {
        whole = false;
        break;
      }
      code = (code << 6) | (text[i + taken] & 0x3F);
      ++taken;
      low = 0x80;
      high = 0xBF;
    }
    i += taken;  // an ill-formed prefix is replaced as a whole; the byte that broke it starts anew
    if (!whole) {
      *invalid = true;
      units.push_back(kReplacement);
    } else if (code >= 0x10000) {
      code -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
  }
  return units;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// Encodes all of `text`, each encoded character kept whole; `ends` receives the size of the output
// after each character, so that a cut can fall between characters only.
std::string EncodeUtf8(const char16_t* text, size_t length, bool* invalid,
                       std::vector<size_t>* ends) {
  std::string bytes;
  bytes.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      *invalid = true;
      code = kReplacement;
    }
    AppendUtf8(bytes, code);
    ends->push_back(bytes.size());
  }
  return bytes;
}

}  // namespace

UINT GetACP() { return CP_UTF8; }

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR output,
                        int outputSize) {
  if (!IsUtf8CodePage(codePage)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if ((flags & ~MB_ERR_INVALID_CHARS) != 0) {
    return Fail(ERROR_INVALID_FLAGS);
  }
  if (text == nullptr || length == 0 || outputSize < 0 || (output == nullptr && outputSize != 0)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  const size_t bytes = length < 0 ? std::char_traits<char>::length(text) + 1 : size_t(length);
  if (outputSize > 0 &&
      Overlap(text, bytes, output, static_cast<size_t>(outputSize) * sizeof(WCHAR))) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  bool invalid = false;
  std::u16string units = DecodeUtf8(reinterpret_cast<const unsigned char*>(text), bytes, &invalid);
  if (invalid && (flags & MB_ERR_INVALID_CHARS) != 0) {
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  }
  if (outputSize == 0) {
    return static_cast<int>(units.size());
  }
  const size_t fits = units.size() < size_t(outputSize) ? units.size() : size_t(outputSize);
  units.copy(output, fits);
  if (fits < units.size()) {
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  return static_cast<int>(units.size());
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int length, LPSTR output,
                        int outputSize, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
  if (!IsUtf8CodePage(codePage)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if ((flags & ~WC_ERR_INVALID_CHARS) != 0) {
    return Fail(ERROR_INVALID_FLAGS);
  }
  if (text == nullptr || length == 0 || outputSize < 0 || (output == nullptr && outputSize != 0) ||
      defaultChar != nullptr || usedDefaultChar != nullptr) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  const size_t units = length < 0 ? std::char_traits<char16_t>::length(text) + 1 : size_t(length);
  if (outputSize > 0 && Overlap(text, units * sizeof(WCHAR), output, size_t(outputSize))) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  bool invalid = false;
  std::vector<size_t> ends;
  std::string bytes = EncodeUtf8(text, units, &invalid, &ends);
  if (invalid && (flags & WC_ERR_INVALID_CHARS) != 0) {
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  }
  if (outputSize == 0) {
    return static_cast<int>(bytes.size());
  }
  if (bytes.size() > size_t(outputSize)) {
    size_t fits = 0;
    for (size_t end : ends) {
      if (end > size_t(outputSize)) break;
      fits = end;
    }
    bytes.copy(output, fits);
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  bytes.copy(output, bytes.size());
  return static_cast<int>(bytes.size());
}
