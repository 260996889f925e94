// Writing a document to an XML file: the one write sequence every document class uses. The
// constructor creates the engine's XML writer and its content handler, opens a FileStream, sets
// the writer's options (indentation on, standalone on, output to the stream, encoding "UTF-8") and
// starts the document; the caller writes its elements with StartElement, EndElement and
// TextElement (or the writer helpers on handler()); Finish ends the document and releases the
// content handler, then the writer.
//
// The document goes to a temporary file beside the target ("<path>.tmp"), which replaces the
// target only once the whole document reached it: a full disk or any other failure leaves the
// file that was there before untouched (or no file, when there was none).
//
// The session does not start COM: every caller has read a document on the same thread before.
#pragma once

#include <msxml2.h>
#include <windows.h>

#include <string>

#include "unique_resource.h"
#include "xml/file_stream.h"

class XmlWriteSession {
 public:
  explicit XmlWriteSession(const char* path);
  XmlWriteSession(const XmlWriteSession&) = delete;
  XmlWriteSession& operator=(const XmlWriteSession&) = delete;
  // A session that was not finished leaves the target as it was.
  ~XmlWriteSession();

  // False when the writer, its content handler or the file could not be had (or the path is
  // empty): nothing is written then.
  bool IsOpen() const { return open_; }
  ISAXContentHandler* handler() const { return handler_.get(); }

  // The writer helpers (xml_write_helpers.h) with their failures kept for Finish.
  void StartElement(const char* name);
  void EndElement(const char* name);
  void TextElement(const char* name, const char* text);

  // Ends the document and, when every step succeeded and every byte reached the disk, puts the
  // new file in place of the target. True when the target now holds the whole document.
  bool Finish();

 private:
  void Note(HRESULT result);
  // Lets go of the engine objects and closes the file; true when nothing failed.
  bool Close();
  // Removes the temporary file, if this session made one.
  void Discard();

  std::string path_;
  std::string temporaryPath_;
  ComPtr<IMXWriter> writer_;
  ComPtr<ISAXContentHandler> handler_;
  ComPtr<FileStream> stream_;
  bool temporaryCreated_ = false;
  bool open_ = false;
  bool finished_ = false;
  HRESULT failure_ = S_OK;
};
