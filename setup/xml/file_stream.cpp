#include "xml/file_stream.h"

#include <cstring>

FileStream::FileStream(const char* path, bool forWriting)
    : path_(path != nullptr ? path : ""), forWriting_(forWriting) {
  if (!path_.empty()) {
    file_.reset(CreateFileA(path_.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ, 0, nullptr,
                            forWriting ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
  }
}

FileStream::~FileStream() = default;

bool FileStream::Close() {
  if (file_ && forWriting_ && !FlushFileBuffers(file_.get())) {
    failed_ = true;
  }
  file_.reset();
  return !failed_;
}

HRESULT FileStream::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, IID_IStream)) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FileStream::AddRef() { return static_cast<ULONG>(++references_); }

ULONG FileStream::Release() {
  const LONG left = --references_;
  if (left == 0) {
    delete this;
  }
  return static_cast<ULONG>(left);
}

HRESULT FileStream::Read(void* buffer, ULONG count, ULONG* read) {
  DWORD done = 0;
  const BOOL ok = ReadFile(file_.get(), buffer, count, &done, nullptr);
  position_ += done;
  if (read != nullptr) {
    *read = done;
  }
  if (!ok) {
    failed_ = true;
    return STG_E_READFAULT;
  }
  return S_OK;
}

HRESULT FileStream::Write(const void* buffer, ULONG count, ULONG* written) {
  if (count == 0) {
    if (written != nullptr) {
      *written = 0;
    }
    return S_OK;
  }
  DWORD done = 0;
  const BOOL ok = WriteFile(file_.get(), buffer, count, &done, nullptr);
  const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
  position_ += done;
  if (written != nullptr) {
    *written = done;
  }
  // A full disk must not pass for a written document.
  if (!ok || done != count) {
    failed_ = true;
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? STG_E_MEDIUMFULL
                                                                       : STG_E_WRITEFAULT;
  }
  return S_OK;
}

HRESULT FileStream::Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER* newPosition) {
  if (newPosition != nullptr) {
    newPosition->QuadPart = position_;
  }
  return S_OK;
}

HRESULT FileStream::SetSize(ULARGE_INTEGER) { return S_OK; }

HRESULT FileStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER* read,
                           ULARGE_INTEGER* written) {
  if (read != nullptr) {
    read->QuadPart = 0;
  }
  if (written != nullptr) {
    written->QuadPart = 0;
  }
  return S_OK;
}

HRESULT FileStream::Commit(DWORD) { return S_OK; }
HRESULT FileStream::Revert() { return S_OK; }
HRESULT FileStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return S_OK; }
HRESULT FileStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return S_OK; }

HRESULT FileStream::Stat(STATSTG* stat, DWORD flags) {
  if (stat == nullptr) {
    return STG_E_INVALIDPOINTER;
  }
  if ((flags & ~static_cast<DWORD>(STATFLAG_NONAME)) != 0) {
    return STG_E_INVALIDFLAG;
  }
  if (!file_) {
    return STG_E_INVALIDHANDLE;
  }
  DWORD high = 0;
  SetLastError(ERROR_SUCCESS);
  const DWORD low = GetFileSize(file_.get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) {
    return STG_E_ACCESSDENIED;
  }
  LPOLESTR name = nullptr;
  if ((flags & STATFLAG_NONAME) == 0) {
    const int units = MultiByteToWideChar(CP_ACP, 0, path_.c_str(), -1, nullptr, 0);
    if (units <= 0) {
      return STG_E_INVALIDFUNCTION;
    }
    name = static_cast<LPOLESTR>(CoTaskMemAlloc(static_cast<SIZE_T>(units) * sizeof(OLECHAR)));
    if (name == nullptr) {
      return E_OUTOFMEMORY;
    }
    MultiByteToWideChar(CP_ACP, 0, path_.c_str(), -1, name, units);
  }
  std::memset(stat, 0, sizeof(*stat));
  stat->pwcsName = name;
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = (static_cast<ULONGLONG>(high) << 32) | low;
  stat->grfMode = forWriting_ ? STGM_WRITE : STGM_READ;
  return S_OK;
}

HRESULT FileStream::Clone(IStream** copy) {
  if (copy != nullptr) {
    *copy = nullptr;
  }
  return E_NOTIMPL;
}
