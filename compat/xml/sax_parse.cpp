#include "sax_parse.h"

#include <fcntl.h>
#include <libxml/SAX2.h>
#include <libxml/xmlerror.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>

#include "engine_classes.h"
#include "utf16_text.h"

namespace compat {
namespace {

// What the system engine answers for a file it cannot find.
const HRESULT kResourceNotFound = static_cast<HRESULT>(0x800C0005UL);
constexpr size_t kChunkBytes = 64 * 1024;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// Fills `buffer` as far as the file allows; -1 on a read error.
ssize_t ReadChunk(int fd, char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t got = ::read(fd, buffer + done, size - done);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return -1;
    }
    if (got == 0) {
      break;
    }
    done += static_cast<size_t>(got);
  }
  return static_cast<ssize_t>(done);
}

std::u16string Text(const xmlChar* text) {
  return text != nullptr ? Utf16FromUtf8(reinterpret_cast<const char*>(text), xmlStrlen(text))
                         : std::u16string();
}

std::u16string QualifiedName(const xmlChar* prefix, const xmlChar* localName) {
  return prefix != nullptr ? Text(prefix) + u":" + Text(localName) : Text(localName);
}

int Length(const std::u16string& text) { return static_cast<int>(text.size()); }

// Runs a libxml2 callback's body; no exception may unwind into libxml2's C frames.
template <typename Body>
void Guarded(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

}  // namespace

SaxParse::SaxParse(ISAXContentHandler* content, ISAXErrorHandler* errors, std::u16string systemId)
    : content_(content), errors_(errors), systemId_(std::move(systemId)) {}

SaxParse::~SaxParse() {
  if (context_ != nullptr) {
    if (context_->myDoc != nullptr) {
      xmlFreeDoc(context_->myDoc);
      context_->myDoc = nullptr;
    }
    xmlFreeParserCtxt(context_);
  }
}

HRESULT SaxParse::Run(const std::string& path) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { xmlInitParser(); });

  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    return errno == ENOENT || errno == ENOTDIR ? kResourceNotFound : E_ACCESSDENIED;
  }
  struct stat info;
  if (::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
    return E_ACCESSDENIED;
  }
  std::string chunk(kChunkBytes, '\0');
  ssize_t got = ReadChunk(file.get(), &chunk[0], chunk.size());
  if (got < 0) {
    return STG_E_READFAULT;
  }

  xmlSAXHandler sax;
  xmlSAXVersion(&sax, 2);  // libxml2's own handlers keep the DTD's entity declarations
  sax.startDocument = OnStartDocument;
  sax.endDocument = OnEndDocument;
  sax.startElementNs = OnStartElement;
  sax.endElementNs = OnEndElement;
  sax.characters = OnCharacters;
  sax.ignorableWhitespace = OnCharacters;  // the same function: libxml2 then never drops blanks
  sax.cdataBlock = OnCdata;
  sax.processingInstruction = OnProcessingInstruction;
  sax.entityDecl = OnEntityDeclaration;
  sax.externalSubset = nullptr;
  sax.reference = nullptr;
  sax.comment = nullptr;
  sax.warning = nullptr;
  sax.error = nullptr;
  sax.fatalError = nullptr;
  sax.serror = OnError;

  // libxml2 detects the encoding from the first four bytes.
  const int head = got < 4 ? static_cast<int>(got) : 4;
  context_ = xmlCreatePushParserCtxt(&sax, nullptr, chunk.data(), head, path.c_str());
  if (context_ == nullptr) {
    return E_OUTOFMEMORY;
  }
  context_->_private = this;
  xmlCtxtUseOptions(context_, XML_PARSE_NONET | XML_PARSE_NOENT);

  if (content_) {
    Deliver(context_, [&] { return content_->putDocumentLocator(&locator_); });
  }
  xmlParseChunk(context_, chunk.data() + head, static_cast<int>(got) - head, 0);
  while (!Stopped() && got > 0) {
    got = ReadChunk(file.get(), &chunk[0], chunk.size());
    if (got < 0) {
      failure_ = STG_E_READFAULT;
      break;
    }
    if (got > 0) {
      xmlParseChunk(context_, chunk.data(), static_cast<int>(got), 0);
    }
  }
  if (!Stopped()) {
    xmlParseChunk(context_, nullptr, 0, 1);
  }
  if (FAILED(failure_)) {
    return failure_;
  }
  if (stopped_ || !context_->wellFormed || !context_->nsWellFormed) {
    return E_FAIL;
  }
  return S_OK;
}

SaxParse* SaxParse::From(void* context) {
  auto parser = static_cast<xmlParserCtxtPtr>(context);
  return parser != nullptr ? static_cast<SaxParse*>(parser->_private) : nullptr;
}

template <typename Event>
void SaxParse::Deliver(void* context, Event&& event) {
  if (Stopped()) {
    return;
  }
  HRESULT result;
  try {
    result = event();
  } catch (...) {
    result = E_OUTOFMEMORY;
  }
  if (result != S_OK) {
    Stop(context, result);
  }
}

void SaxParse::Stop(void* context, HRESULT result) {
  failure_ = FAILED(result) ? result : E_FAIL;
  stopped_ = true;
  xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
}

void SaxParse::OnStartDocument(void* context) {
  Guarded([&] {
    xmlSAX2StartDocument(context);
    SaxParse* parse = From(context);
    if (parse != nullptr && parse->content_) {
      parse->Deliver(context, [&] { return parse->content_->startDocument(); });
    }
  });
}

void SaxParse::OnEndDocument(void* context) {
  Guarded([&] {
    xmlSAX2EndDocument(context);
    SaxParse* parse = From(context);
    auto parser = static_cast<xmlParserCtxtPtr>(context);
    if (parse != nullptr && parse->content_ && parser->wellFormed && parser->nsWellFormed) {
      parse->Deliver(context, [&] { return parse->content_->endDocument(); });
    }
  });
}

void SaxParse::OnStartElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                              const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                              int attributeCount, int /*defaultedCount*/,
                              const xmlChar** attributes) {
  SaxParse* parse = From(context);
  if (parse == nullptr) {
    return;
  }
  parse->cdataEndedInCr_ = false;
  // At the end of the input libxml2 reports a start tag before it finds the tag unclosed; the
  // error that follows ends the parse, and the element never began.
  auto parser = static_cast<xmlParserCtxtPtr>(context);
  const xmlChar* next = parser->input != nullptr ? parser->input->cur : nullptr;
  if (next == nullptr || (next[0] != '>' && !(next[0] == '/' && next[1] == '>'))) {
    return;
  }
  parse->Deliver(context, [&]() -> HRESULT {
    std::vector<std::u16string> prefixes;
    for (int i = 0; i < namespaceCount; ++i) {
      std::u16string declared = Text(namespaces[2 * i]);
      std::u16string declaredUri = Text(namespaces[2 * i + 1]);
      if (parse->content_) {
        HRESULT result = parse->content_->startPrefixMapping(
            declared.c_str(), Length(declared), declaredUri.c_str(), Length(declaredUri));
        if (result != S_OK) {
          return result;
        }
      }
      prefixes.push_back(std::move(declared));
    }
    parse->declaredPrefixes_.push_back(std::move(prefixes));

    std::vector<SaxAttributes::Attribute> list;
    for (int i = 0; i < attributeCount; ++i) {
      const xmlChar** field = attributes + 5 * i;  // local name, prefix, URI, value, value end
      list.push_back({Text(field[2]), Text(field[0]), QualifiedName(field[1], field[0]),
                      Utf16FromUtf8(reinterpret_cast<const char*>(field[3]),
                                    static_cast<size_t>(field[4] - field[3]))});
    }
    parse->attributes_.Assign(std::move(list));
    if (!parse->content_) {
      return S_OK;
    }
    const std::u16string elementUri = Text(uri);
    const std::u16string local = Text(localName);
    const std::u16string qualified = QualifiedName(prefix, localName);
    return parse->content_->startElement(elementUri.c_str(), Length(elementUri), local.c_str(),
                                         Length(local), qualified.c_str(), Length(qualified),
                                         &parse->attributes_);
  });
}

void SaxParse::OnEndElement(void* context, const xmlChar* localName, const xmlChar* prefix,
                            const xmlChar* uri) {
  SaxParse* parse = From(context);
  if (parse == nullptr) {
    return;
  }
  parse->cdataEndedInCr_ = false;
  parse->Deliver(context, [&]() -> HRESULT {
    std::vector<std::u16string> prefixes;
    if (!parse->declaredPrefixes_.empty()) {
      prefixes = std::move(parse->declaredPrefixes_.back());
      parse->declaredPrefixes_.pop_back();
    }
    if (!parse->content_) {
      return S_OK;
    }
    const std::u16string elementUri = Text(uri);
    const std::u16string local = Text(localName);
    const std::u16string qualified = QualifiedName(prefix, localName);
    HRESULT result =
        parse->content_->endElement(elementUri.c_str(), Length(elementUri), local.c_str(),
                                    Length(local), qualified.c_str(), Length(qualified));
    for (const std::u16string& declared : prefixes) {
      if (result != S_OK) {
        break;
      }
      result = parse->content_->endPrefixMapping(declared.c_str(), Length(declared));
    }
    return result;
  });
}

HRESULT SaxParse::Characters(const std::string& utf8) {
  if (utf8.empty() || !content_) {
    return S_OK;
  }
  const std::u16string text = Utf16FromUtf8(utf8);
  return content_->characters(text.c_str(), Length(text));
}

void SaxParse::OnCharacters(void* context, const xmlChar* text, int length) {
  SaxParse* parse = From(context);
  if (parse == nullptr) {
    return;
  }
  parse->cdataEndedInCr_ = false;
  parse->Deliver(context, [&] {
    return parse->Characters(std::string(reinterpret_cast<const char*>(text), length));
  });
}

// libxml2 leaves the line ends inside CDATA sections as they were in the file.
void SaxParse::OnCdata(void* context, const xmlChar* text, int length) {
  SaxParse* parse = From(context);
  if (parse == nullptr) {
    return;
  }
  parse->Deliver(context, [&] {
    std::string normalised;
    normalised.reserve(static_cast<size_t>(length));
    bool afterCr = parse->cdataEndedInCr_;
    for (int i = 0; i < length; ++i) {
      const char c = static_cast<char>(text[i]);
      if (c == '\n' && afterCr) {
        afterCr = false;
        continue;
      }
      afterCr = c == '\r';
      normalised.push_back(afterCr ? '\n' : c);
    }
    parse->cdataEndedInCr_ = afterCr;
    return parse->Characters(normalised);
  });
}

void SaxParse::OnProcessingInstruction(void* context, const xmlChar* target, const xmlChar* data) {
  SaxParse* parse = From(context);
  if (parse == nullptr || !parse->content_) {
    return;
  }
  parse->cdataEndedInCr_ = false;
  parse->Deliver(context, [&] {
    const std::u16string name = Text(target);
    const std::u16string value = Text(data);
    return parse->content_->processingInstruction(name.c_str(), Length(name), value.c_str(),
                                                  Length(value));
  });
}

// External entities are never fetched: they are not even recorded, so that a reference to one is
// a reference to an undeclared entity.
void SaxParse::OnEntityDeclaration(void* context, const xmlChar* name, int type,
                                   const xmlChar* publicId, const xmlChar* systemId,
                                   xmlChar* content) {
  if (type == XML_EXTERNAL_GENERAL_PARSED_ENTITY || type == XML_EXTERNAL_GENERAL_UNPARSED_ENTITY ||
      type == XML_EXTERNAL_PARAMETER_ENTITY) {
    return;
  }
  xmlSAX2EntityDecl(context, name, type, publicId, systemId, content);
}

void SaxParse::OnError(void* context, xmlErrorPtr error) {
  SaxParse* parse = From(context);
  if (parse == nullptr || error == nullptr || error->level == XML_ERR_WARNING) {
    return;
  }
  // Errors that libxml2 recovers from (an undeclared prefix, for one) end the parse as well.
  auto parser = static_cast<xmlParserCtxtPtr>(context);
  parser->disableSAX = 1;
  if (parse->Stopped()) {
    return;
  }
  parse->failure_ = E_FAIL;
  Guarded([&] {
    if (parse->errors_) {
      std::u16string message =
          Utf16FromUtf8(error->message != nullptr ? error->message : "",
                        error->message != nullptr ? std::strlen(error->message) : 0);
      while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r')) {
        message.pop_back();
      }
      parse->errors_->fatalError(&parse->locator_, message.c_str(), E_FAIL);
    }
  });
}

HRESULT SaxParse::Locator::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, kLocatorInterfaceId)) {
    *object = static_cast<ISAXLocator*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT SaxParse::Locator::getColumnNumber(int* column) {
  if (column == nullptr) {
    return E_POINTER;
  }
  *column = parse_.context_ != nullptr ? xmlSAX2GetColumnNumber(parse_.context_) : 0;
  return S_OK;
}

HRESULT SaxParse::Locator::getLineNumber(int* line) {
  if (line == nullptr) {
    return E_POINTER;
  }
  *line = parse_.context_ != nullptr ? xmlSAX2GetLineNumber(parse_.context_) : 0;
  return S_OK;
}

HRESULT SaxParse::Locator::getPublicId(const WCHAR** publicId) {
  if (publicId == nullptr) {
    return E_POINTER;
  }
  *publicId = u"";
  return S_OK;
}

HRESULT SaxParse::Locator::getSystemId(const WCHAR** systemId) {
  if (systemId == nullptr) {
    return E_POINTER;
  }
  *systemId = parse_.systemId_.c_str();
  return S_OK;
}

}  // namespace compat
