#include "platform/replace_file.h"

#include <cerrno>

#include "platform/drives.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/host_directories.h"
#include "platform/paths.h"
#include "platform/textf.h"
#include "platform/win32/win_file.h"

namespace corvane {

namespace {

// The file a link points to, else the path itself.
std::wstring resolvedTarget(const std::wstring& wide, DWORD attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    return wide;
  const std::string resolved = resolvedHostPath(utf8Of(wide));
  return resolved.empty() ? wide : widePath(resolved);
}

// A new file beside target, named after it, opened for writing.
FileResult createBeside(const std::wstring& target, std::wstring& temporary, HANDLE& handle) {
  const std::uint32_t stamp = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target + wideOf(textf(".~%08x%02d", stamp, attempt));
    handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) return fileSuccess();
    if (GetLastError() != ERROR_FILE_EXISTS) return fileFailure(lastErrno());
  }
  return fileFailure(EEXIST);
}

FileResult writeAndClose(HANDLE handle, const FileWriter& writer) {
  std::FILE* stream = nullptr;
  if (FileResult r = streamOfHandle(handle, "wb", stream); !r) return r;
  FileHandle file(stream);
  FileSink sink(stream);
  const bool finished = writer(sink);
  FileResult result = !sink.ok()   ? fileFailure(sink.error())
                      : !finished ? fileFailure(ECANCELED)
                                  : fileSuccess();
  // On the disk before the rename makes it the file.
  if (result && std::fflush(stream) != 0) result = fileFailure(errno != 0 ? errno : EIO);
  if (result && !FlushFileBuffers(handleOf(stream))) result = fileFailure(lastErrno());
  const FileResult closed = closeWrittenFile(file);
  return result ? closed : result;
}

FileResult replaceKeeping(const std::wstring& wide, const FileWriter& writer, ReplaceBackup* backup) {
  if (backup != nullptr) {
    backup->result = fileSuccess();
    backup->kept = false;
  }
  const DWORD linkAttributes = GetFileAttributesW(wide.c_str());
  const std::wstring target = resolvedTarget(wide, linkAttributes);
  const DWORD old = GetFileAttributesW(target.c_str());
  const bool exists = old != INVALID_FILE_ATTRIBUTES;
  if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND) return fileFailure(lastErrno());
  if (exists) {
    if ((old & FILE_ATTRIBUTE_DIRECTORY) != 0) return fileFailure(EISDIR);
    if ((old & FILE_ATTRIBUTE_READONLY) != 0) return fileFailure(EACCES);
    if ((old & FILE_ATTRIBUTE_DEVICE) != 0) return fileFailure(FileErrorNotRegular);
  }

  std::wstring temporary;
  HANDLE handle = INVALID_HANDLE_VALUE;
  if (FileResult r = createBeside(target, temporary, handle); !r) return r;
  FileResult result = writeAndClose(handle, writer);
  if (result && exists) {
    // The old file's hidden, system and archive attributes go with its name.
    constexpr DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    if ((old & Kept) != 0) SetFileAttributesW(temporary.c_str(), old & Kept);
    if (backup != nullptr && !backup->path.empty()) {
      std::wstring backupPath;
      backup->result = wideTargetPathOf(backup->path, backupPath);
      if (backup->result && _wcsicmp(backupPath.c_str(), target.c_str()) != 0) {
        SetFileAttributesW(backupPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (CopyFileW(target.c_str(), backupPath.c_str(), FALSE)) {
          backup->kept = true;
        } else {
          backup->result = fileFailure(lastErrno());
        }
      }
    }
  }
  if (result && !MoveFileExW(temporary.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    result = fileFailure(lastErrno());
  if (!result) DeleteFileW(temporary.c_str());
  return result;
}

}  // namespace

FileResult replaceFile(std::string_view path, const FileWriter& writer) {
  std::wstring wide;
  if (FileResult r = wideTargetPathOf(path, wide); !r) return r;
  return replaceKeeping(wide, writer, nullptr);
}

FileResult replaceFile(std::string_view path, const FileWriter& writer, ReplaceBackup& backup) {
  std::wstring wide;
  if (FileResult r = wideTargetPathOf(path, wide); !r) return r;
  return replaceKeeping(wide, writer, &backup);
}

FileResult replaceHostFile(std::string_view hostPath, std::string_view content) {
  if (hostPath.empty()) return fileFailure(ENOENT);
  const std::size_t name = hostPath.find_last_of("\\/");
  if (!windowsNameAllowed(hostPath.substr(name == std::string_view::npos ? 0 : name + 1)))
    return fileFailure(FileErrorBadName);
  return replaceKeeping(widePath(hostPath), [content](FileSink& sink) { return sink.write(content); },
                        nullptr);
}

FileResult replaceFile(std::string_view path, std::string_view content) {
  return replaceFile(path, [content](FileSink& sink) { return sink.write(content); });
}

}  // namespace corvane
