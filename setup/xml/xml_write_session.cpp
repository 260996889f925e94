#include "xml/xml_write_session.h"

#include "xml/xml_engine.h"
#include "xml/xml_write_helpers.h"

namespace {

UniqueBstr SystemString(const WCHAR* text) { return UniqueBstr(SysAllocString(text)); }

}  // namespace

XmlWriteSession::XmlWriteSession(const char* path) : path_(path != nullptr ? path : "") {
  if (path_.empty()) {
    return;
  }
  temporaryPath_ = path_ + ".tmp";
  writer_ = CreateXmlWriter();
  if (!writer_ || FAILED(writer_->QueryInterface(kContentHandlerInterfaceId,
                                                 reinterpret_cast<void**>(handler_.put())))) {
    handler_.release();
    return;
  }
  stream_.reset(new FileStream(temporaryPath_.c_str(), true));
  if (!stream_->IsOpen()) {
    return;
  }
  temporaryCreated_ = true;
  Note(writer_->put_indent(VARIANT_TRUE));
  Note(writer_->put_standalone(VARIANT_TRUE));
  {
    UniqueVariant output;
    output.get()->vt = VT_UNKNOWN;
    output.get()->punkVal = stream_.get();
    stream_->AddRef();  // the variant's reference, returned when it is cleared
    Note(writer_->put_output(*output));
  }
  static const WCHAR kEncoding[] = {'U', 'T', 'F', '-', '8', 0};
  UniqueBstr encoding = SystemString(kEncoding);
  Note(encoding ? writer_->put_encoding(encoding.get()) : E_OUTOFMEMORY);
  Note(handler_->startDocument());
  open_ = SUCCEEDED(failure_);
}

XmlWriteSession::~XmlWriteSession() {
  if (!finished_) {
    Close();
    Discard();
  }
}

void XmlWriteSession::Note(HRESULT result) {
  if (FAILED(result) && SUCCEEDED(failure_)) {
    failure_ = result;
  }
}

void XmlWriteSession::StartElement(const char* name) {
  if (open_) {
    Note(WriteElement(handler_.get(), name, true));
  }
}

void XmlWriteSession::EndElement(const char* name) {
  if (open_) {
    Note(WriteElement(handler_.get(), name, false));
  }
}

void XmlWriteSession::TextElement(const char* name, const char* text) {
  if (open_) {
    Note(WriteTextElement(handler_.get(), name, text));
  }
}

bool XmlWriteSession::Close() {
  // The writer may hold text until it lets go of the stream: release it before closing the file.
  handler_.reset();
  writer_.reset();
  bool written = true;
  if (stream_) {
    written = stream_->Close();
    stream_.reset();
  }
  return written && SUCCEEDED(failure_);
}

void XmlWriteSession::Discard() {
  if (temporaryCreated_) {
    DeleteFileA(temporaryPath_.c_str());
    temporaryCreated_ = false;
  }
}

bool XmlWriteSession::Finish() {
  if (!open_ || finished_) {
    return false;
  }
  finished_ = true;
  Note(handler_->endDocument());
  const bool written = Close();
  if (!written || !MoveFileExA(temporaryPath_.c_str(), path_.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Discard();
    return false;
  }
  temporaryCreated_ = false;  // it is the target now
  return true;
}
