// How many changes the writers of a file have made, shared by every process of
// the machine through a small file that each of them maps into its memory. A
// writer adds one after each change, while it holds the file's lock; a reader
// that compares the count with the one it saw when it last read the file knows,
// with a load from memory instead of a system call, whether any process has
// changed the file since.
//
// The count lives in the file's lock file, which no process removes. Someone
// else may still remove it (a user emptying the folder): the next writer then
// counts in a new file, and a reader finds that out with Names().
#pragma once

#include <cstdint>
#include <filesystem>

namespace halyx {

class ChangeCounter {
 public:
  ChangeCounter() = default;
  ~ChangeCounter();
  ChangeCounter(const ChangeCounter&) = delete;
  ChangeCounter& operator=(const ChangeCounter&) = delete;

  // Maps the count kept in file, made (counting from 0) when missing; its
  // folder must exist. False when it cannot be mapped (a missing folder, a
  // file this process may not write); nothing is mapped then.
  bool Map(const std::filesystem::path& file);
  void Unmap();
  bool mapped() const { return count_ != nullptr; }

  // The count; 0 while nothing is mapped.
  uint32_t Value() const;
  // Adds one to the count, if one is mapped.
  void Add();

  // Whether file is still the very file mapped, not one made in its place.
  bool Names(const std::filesystem::path& file) const;

 private:
  uint32_t* count_ = nullptr;
  void* view_ = nullptr;
#if defined(_WIN32)
  void* handle_ = nullptr;  // the mapped file, kept open to compare with
#else
  uint64_t device_ = 0;
  uint64_t inode_ = 0;
#endif
};

}  // namespace halyx
