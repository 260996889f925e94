// The stream the XML writer writes a document into: an IStream over one file.
//
// Reads and writes go straight to the file. A write that fails or falls short is reported to the
// writer and remembered, so that a document that did not reach the file whole is never taken for
// a good one (see failed()). Seek, SetSize, CopyTo, Commit, Revert and the region locks do nothing
// and succeed: the writer only appends. Stat describes the file; Clone is not offered.
#pragma once

#include <windows.h>

#include <string>

#include "unique_resource.h"

class FileStream : public IStream {
 public:
  // For writing, the file is created, or emptied when it exists; for reading, it must exist.
  // Either way nobody else may open it meanwhile. See IsOpen.
  FileStream(const char* path, bool forWriting);
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  bool IsOpen() const { return static_cast<bool>(file_); }
  // True once a read or a write failed or fell short, or the file could not be put on the disk.
  bool failed() const { return failed_; }
  // Puts what was written on the disk and closes the file (later calls find it closed). False when
  // the stream failed() then or before.
  bool Close();

  // IUnknown and IStream are answered; any other interface is not.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  // At 0 the object destroys itself.
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;
  // A count of 0 reports 0 bytes written without touching the file.
  HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG count, ULONG* written) override;
  // Does not move; reports the position reads and writes have reached.
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                 ULARGE_INTEGER* newPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER newSize) override;
  // Copies nothing and says so.
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                   ULARGE_INTEGER* written) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count,
                                       DWORD lockType) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count,
                                         DWORD lockType) override;
  // The file's size, the stream's type and mode, and (unless STATFLAG_NONAME) its path, allocated
  // with CoTaskMemAlloc. Times are not reported (zero).
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;
  // E_NOTIMPL, with the out pointer set to null.
  HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override;

  virtual ~FileStream();

 private:
  UniqueFile file_;
  LONG references_ = 1;
  std::string path_;
  bool forWriting_;
  bool failed_ = false;
  ULONGLONG position_ = 0;
};
