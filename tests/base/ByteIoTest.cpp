// Little-endian field access, the memory source and the atomic file write
// that protects the previous document when saving fails.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/ByteIo.h"
#include "base/ByteStream.h"
#include "support/TempFolder.h"

namespace hp::base {
namespace {

namespace fs = std::filesystem;

template <class T>
struct LittleEndianCase {
  T value;
  std::vector<uint8_t> bytes;  // the value's image, lowest byte first
};

template <class T>
void CheckAtOddOffsets(const LittleEndianCase<T>& c) {
  for (size_t offset : {size_t{1}, size_t{3}, size_t{7}}) {
    std::vector<uint8_t> image(offset + sizeof(T) + 2, 0xAA);
    StoreLE<T>(image, offset, c.value);
    const std::vector<uint8_t> stored(image.begin() + offset, image.begin() + offset + sizeof(T));
    EXPECT_EQ(stored, c.bytes) << "offset " << offset;
    // Neighbours stay untouched.
    EXPECT_EQ(image[offset - 1], 0xAA);
    EXPECT_EQ(image[offset + sizeof(T)], 0xAA);
    if constexpr (std::is_same_v<T, double>) {
      EXPECT_EQ(std::bit_cast<uint64_t>(LoadLE<T>(image, offset)), std::bit_cast<uint64_t>(c.value));
    } else {
      EXPECT_EQ(LoadLE<T>(image, offset), c.value);
    }
  }
}

TEST(ByteIo, EveryTypeIsLittleEndianAtOddOffsets) {
  CheckAtOddOffsets<int8_t>({-2, {0xFE}});
  CheckAtOddOffsets<int16_t>({-32768, {0x00, 0x80}});
  CheckAtOddOffsets<uint16_t>({0x1234, {0x34, 0x12}});
  CheckAtOddOffsets<int32_t>({-25, {0xE7, 0xFF, 0xFF, 0xFF}});
  CheckAtOddOffsets<uint32_t>({0x00220800, {0x00, 0x08, 0x22, 0x00}});
  CheckAtOddOffsets<int64_t>({-2, {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}});
  CheckAtOddOffsets<double>({-25.0, {0, 0, 0, 0, 0, 0, 0x39, 0xC0}});
  CheckAtOddOffsets<double>({0.1, {0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F}});
  CheckAtOddOffsets<double>({std::numeric_limits<double>::quiet_NaN(), {0, 0, 0, 0, 0, 0, 0xF8, 0x7F}});
}

TEST(ByteIo, AccessOutsideTheImageThrows) {
  std::vector<uint8_t> image(10);
  const std::span<const uint8_t> view(image);
  EXPECT_NO_THROW(LoadLE<uint16_t>(view, 8));
  EXPECT_THAT([&] { (void)LoadLE<double>(view, 3); },
              testing::ThrowsMessage<std::out_of_range>("LoadLE of 8 bytes at offset 3 outside the image of 10 bytes"));
  EXPECT_THROW(LoadLE<uint32_t>(view, std::numeric_limits<size_t>::max() - 1), std::out_of_range);
  EXPECT_THROW(StoreLE<int32_t>(image, 7, 1), std::out_of_range);
  EXPECT_THROW(StoreLE<uint64_t>(image, std::numeric_limits<size_t>::max(), 1), std::out_of_range);
  EXPECT_EQ(image, std::vector<uint8_t>(10));  // a refused store writes nothing

  char field[4] = {};
  EXPECT_NO_THROW(LoadBytes(view, 10, field, 0));
  EXPECT_THROW(LoadBytes(view, 7, field, 4), std::out_of_range);
  EXPECT_THROW(StoreBytes(image, std::numeric_limits<size_t>::max(), field, 2), std::out_of_range);
}

TEST(MemorySource, ReadsInPartsUntilTheEnd) {
  const std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  MemorySource source(data);
  std::vector<uint8_t> buffer(4, 0xEE);
  EXPECT_EQ(source.Read(buffer), 4u);
  EXPECT_EQ(buffer, (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(source.Read(buffer), 4u);
  buffer.assign(4, 0xEE);
  EXPECT_EQ(source.Read(buffer), 2u);
  EXPECT_EQ(buffer, (std::vector<uint8_t>{9, 10, 0xEE, 0xEE}));
  EXPECT_EQ(source.Read(buffer), 0u);
}

class AtomicWrite : public testing::Test {
 protected:
  static void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  std::set<std::string> Entries() const {
    std::set<std::string> names;
    List(m_folder, names);
    return names;
  }
  // Every entry below `folder`, links not followed.
  void List(const fs::path& folder, std::set<std::string>& names) const {
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.insert(entry.path().lexically_relative(m_folder).string());
      if (!entry.is_symlink() && entry.is_directory()) List(entry.path(), names);
    }
  }
  static bool WriteText(ByteSink& sink, const std::string& text) {
    return sink.Write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  }
  static bool Save(const fs::path& target, const std::string& text = "new") {
    return WriteFileAtomically(target, [&](ByteSink& sink) { return WriteText(sink, text); });
  }

  test::TempFolder m_folder{"hp_atomic"};
  fs::path m_target = m_folder / "Höhle.hpn";
};

TEST_F(AtomicWrite, CreatesAndReplacesTheFile) {
  ASSERT_TRUE(Save(m_target, "first"));
  ASSERT_TRUE(
      WriteFileAtomically(m_target, [](ByteSink& sink) { return WriteText(sink, "sec") && WriteText(sink, "ond"); }));
  EXPECT_EQ(test::ReadFile(m_target), "second");
  EXPECT_EQ(Entries(), std::set<std::string>{"Höhle.hpn"});
}

// A writer that gives up, a missing folder and a read-only folder: the
// previous state stays, nothing is left over.
TEST_F(AtomicWrite, FailuresKeepThePreviousStateWithoutLeftovers) {
  EXPECT_FALSE(WriteFileAtomically(m_target, [](ByteSink&) { return false; }));
  EXPECT_FALSE(Save(m_folder / "missing" / "out.hpn"));
  EXPECT_TRUE(Entries().empty());
  Put(m_target, "previous document");
  EXPECT_FALSE(WriteFileAtomically(m_target, [](ByteSink& sink) { return WriteText(sink, "half a docu"), false; }));
  EXPECT_EQ(test::ReadFile(m_target), "previous document");
  fs::permissions(m_folder, fs::perms::owner_read | fs::perms::owner_exec);
  if (::access(m_folder.path().c_str(), W_OK) != 0) {  // only where permissions bind this user
    EXPECT_FALSE(Save(m_target));
  }
  fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(test::ReadFile(m_target), "previous document");
  EXPECT_EQ(Entries(), std::set<std::string>{"Höhle.hpn"});
}

// What the target is decides what is written: the file a link points to is
// replaced and the link stays; anything but a regular file is refused as it
// stands; permission bits stay; a name of 250 bytes still leaves room for the
// temporary name.
struct TargetCase {
  const char* name;
  // Prepares the folder and returns the target to save to.
  std::function<fs::path(const fs::path& folder)> prepare;
  const char* written;            // where the new content must be (nullptr: refused)
  int mode;                       // its permission bits, -1 for those of a new file
  std::set<std::string> entries;  // everything in the folder afterwards
};

TEST_F(AtomicWrite, TargetsTable) {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const std::string longName = std::string(246, 'x') + ".hpn";
  const auto file = [](const char* name, const char* text, fs::perms perms) {
    return [=](const fs::path& folder) {
      Put(folder / name, text);
      fs::permissions(folder / name, perms);
      return folder / name;
    };
  };
  const auto link = [](const char* name, const char* to) {
    return [=](const fs::path& folder) {
      fs::create_directories(folder / "sub");
      Put(folder / "sub" / "doc.hpn", "old");
      fs::permissions(folder / "sub" / "doc.hpn", fs::perms(0640));
      fs::create_symlink(to, folder / name);
      return folder / name;
    };
  };
  const std::set<std::string> withSub = {"sub", "sub/doc.hpn"};
  // clang-format off
  const TargetCase cases[] = {
      {"new file", [](const fs::path& f) { return f / "neu.hpn"; }, "neu.hpn", -1, {"neu.hpn"}},
      {"existing file keeps 0640", file("a.hpn", "old", fs::perms(0640)), "a.hpn", 0640, {"a.hpn"}},
      {"read-only file keeps 0444", file("a.hpn", "old", fs::perms(0444)), "a.hpn", 0444, {"a.hpn"}},
      {"link into a subfolder", link("l.hpn", "sub/doc.hpn"), "sub/doc.hpn", 0640,
       {"l.hpn", "sub", "sub/doc.hpn"}},
      {"link to a link", [&](const fs::path& f) {
         link("l.hpn", "sub/doc.hpn")(f);
         fs::create_symlink("l.hpn", f / "ll.hpn");
         return f / "ll.hpn";
       }, "sub/doc.hpn", 0640, {"l.hpn", "ll.hpn", "sub", "sub/doc.hpn"}},
      {"dangling link creates its file", link("l.hpn", "sub/neu.hpn"), "sub/neu.hpn", -1,
       {"l.hpn", "sub", "sub/doc.hpn", "sub/neu.hpn"}},
      {"links in a circle", [](const fs::path& f) {
         fs::create_symlink("b", f / "a");
         fs::create_symlink("a", f / "b");
         return f / "a";
       }, nullptr, 0, {"a", "b"}},
      {"FIFO", [](const fs::path& f) {
         ::mkfifo((f / "p.hpn").c_str(), 0600);
         return f / "p.hpn";
       }, nullptr, 0, {"p.hpn"}},
      {"folder", [](const fs::path& f) {
         fs::create_directory(f / "d.hpn");
         return f / "d.hpn";
       }, nullptr, 0, {"d.hpn"}},
      {"link to a device", link("l.hpn", "/dev/null"), nullptr, 0, {"l.hpn", "sub", "sub/doc.hpn"}},
      {"250-byte name", [&](const fs::path& f) { return f / longName; }, longName.c_str(), -1, {longName}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(m_folder.path());
    fs::create_directories(m_folder.path());
    const fs::path target = c.prepare(m_folder);
    struct stat before {};
    const bool existed = ::lstat(target.c_str(), &before) == 0;
    ASSERT_EQ(Save(target), c.written != nullptr);
    struct stat after {};
    ::lstat(target.c_str(), &after);
    if (existed) {
      EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT);  // a link stays a link
    }
    if (c.written) {
      const fs::path written = m_folder / c.written;
      EXPECT_EQ(test::ReadFile(written), "new");
      const auto perms = static_cast<int>(fs::status(written).permissions());
      EXPECT_EQ(perms, c.mode >= 0 ? c.mode : static_cast<int>(0666 & ~mask));
    }
    EXPECT_EQ(Entries(), c.entries);
  }
}

// Temporary files that a killed process left beside the target go with the
// next successful save of that target; those of a running save, of another
// target and names that only look alike stay.
TEST_F(AtomicWrite, RemovesTemporariesOfEndedProcesses) {
  const std::string longName = std::string(250, 'y');
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  const auto leave = [&](const std::string& name, bool stale) {
    Put(m_folder / name, "half");
    if (stale) fs::last_write_time(m_folder / name, old);
  };
  leave("Höhle.hpn.tmpAb12Z9", true);
  leave("Höhle.hpn.tmp000000", true);
  leave(TemporaryNamePrefix(m_folder / longName) + "Qq00Qq", true);
  leave("Höhle.hpn.tmpRunnin", false);  // a save in progress
  leave("Andere.hpn.tmpAb12Z9", true);
  leave("Höhle.hpn.tmpAb12Z", true);
  leave("Höhle.hpn.tmp-b12Z9", true);
  ASSERT_TRUE(Save(m_target));
  ASSERT_TRUE(Save(m_folder / longName));
  EXPECT_EQ(Entries(), (std::set<std::string>{"Höhle.hpn", longName, "Höhle.hpn.tmpRunnin", "Andere.hpn.tmpAb12Z9",
                                              "Höhle.hpn.tmpAb12Z", "Höhle.hpn.tmp-b12Z9"}));
  EXPECT_LE(TemporaryNamePrefix(m_folder / longName).size() + 6, 255u);
}

TEST_F(AtomicWrite, FileSourceOpensOnlyRegularFiles) {
  Put(m_target, "koor");
  const fs::path fifo = m_folder / "pipe.hpn";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const FileSource regular(m_target);
  EXPECT_TRUE(regular.IsOpen());
  EXPECT_EQ(regular.Size(), 4u);
  // Each of these would block or never end if it were read.
  for (const fs::path& other : {fifo, m_folder.path(), fs::path("/dev/zero"), m_folder / "missing.hpn"}) {
    const FileSource source(other);
    EXPECT_FALSE(source.IsOpen()) << other;
  }
}

}  // namespace
}  // namespace hp::base
