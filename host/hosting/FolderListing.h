#pragma once

#include <string>
#include <vector>

namespace Ombix::Kelvane {

// One folder's entries: the files that match a pattern and the sub-folders, each in the order the
// file system lists them.
class FolderListing {
 public:
  // A backslash is added to folder when it does not end in one. "." and ".." are no sub-folders;
  // neither are links to folders, which could lead back up the tree.
  FolderListing(std::string folder, std::string pattern);

  // With a trailing backslash.
  const std::string& Folder() const { return folder_; }
  int FileCount() const { return static_cast<int>(files_.size()); }
  int SubFolderCount() const { return static_cast<int>(subFolders_.size()); }
  // Empty beyond the list.
  std::string FileName(int index) const;
  std::string SubFolderName(int index) const;
  // The listing of sub-folder index with the same pattern.
  FolderListing SubFolder(int index) const;

 private:
  std::string folder_;
  std::string pattern_;
  std::vector<std::string> files_;
  std::vector<std::string> subFolders_;
};

}  // namespace Ombix::Kelvane
