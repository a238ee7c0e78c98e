#include "host/hosting/FolderListing.h"

#include <windows.h>

#include <functional>
#include <utility>

namespace Ombix::Kelvane {
namespace {

void ForEachEntry(const std::string& search, const std::function<void(const WIN32_FIND_DATAA&)>& visit) {
  WIN32_FIND_DATAA entry;
  const HANDLE found = FindFirstFileA(search.c_str(), &entry);
  if (found == INVALID_HANDLE_VALUE) return;
  do {
    visit(entry);
  } while (FindNextFileA(found, &entry));
  FindClose(found);
}

bool IsFolder(const WIN32_FIND_DATAA& entry) {
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Item(const std::vector<std::string>& list, int index) {
  return index >= 0 && index < static_cast<int>(list.size()) ? list[index] : std::string();
}

}  // namespace

FolderListing::FolderListing(std::string folder, std::string pattern)
    : folder_(std::move(folder)), pattern_(std::move(pattern)) {
  if (folder_.empty() || folder_.back() != '\\') folder_ += '\\';
  ForEachEntry(folder_ + "*", [this](const WIN32_FIND_DATAA& entry) {
    const std::string name = entry.cFileName;
    if (!IsFolder(entry) || name == "." || name == "..") return;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return;
    subFolders_.push_back(name);
  });
  ForEachEntry(folder_ + pattern_, [this](const WIN32_FIND_DATAA& entry) {
    if (!IsFolder(entry)) files_.push_back(entry.cFileName);
  });
}

std::string FolderListing::FileName(int index) const {
  return Item(files_, index);
}

std::string FolderListing::SubFolderName(int index) const {
  return Item(subFolders_, index);
}

FolderListing FolderListing::SubFolder(int index) const {
  return FolderListing(folder_ + SubFolderName(index), pattern_);
}

}  // namespace Ombix::Kelvane
