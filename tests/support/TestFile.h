// Builds document files byte by byte for tests: a header of any version and
// images of any size, with values placed at exact offsets. Files of older
// versions are written this way because no older program is at hand.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteIo.h"

namespace hp::test {

class TestFile {
 public:
  // A file with a settings block: worksheets of `worksheetSize` bytes (each
  // followed by its positions) and records of `recordSize` bytes. The block's
  // sizes and counts are filled in; positions are added with AddPositions.
  TestFile(uint32_t version, int worksheets, int records, uint32_t settingsSize = 6740, uint32_t worksheetSize = 2850,
           uint32_t recordSize = 1446)
      : m_version(version), m_settingsSize(settingsSize), m_settings(settingsSize),
        m_worksheets(worksheets, std::vector<uint8_t>(worksheetSize)), m_positions(worksheets),
        m_records(records, std::vector<uint8_t>(recordSize)) {
    if (settingsSize >= 16) {
      Settings<uint32_t>(0, worksheetSize);
      Settings<uint32_t>(4, static_cast<uint32_t>(worksheets));
      Settings<uint32_t>(8, recordSize);
      Settings<uint32_t>(12, static_cast<uint32_t>(records));
    }
  }

  // A file before 4.01: the header holds the worksheet and record sizes,
  // there is no block, one worksheet, and records run to the end.
  static TestFile OldHeader(uint32_t version, uint16_t worksheetSize, uint16_t recordSize, int records) {
    TestFile file(version, 1, records, 0, worksheetSize, recordSize);
    file.m_settingsSize = static_cast<uint32_t>(worksheetSize) | (static_cast<uint32_t>(recordSize) << 16);
    return file;
  }

  template <class T>
  TestFile& Settings(size_t offset, T value) {
    base::StoreLE<T>(m_settings, offset, value);
    return *this;
  }
  TestFile& SettingsText(size_t offset, std::string_view text) { return Text(m_settings, offset, text); }

  template <class T>
  TestFile& Sheet(int index, size_t offset, T value) {
    base::StoreLE<T>(m_worksheets.at(index), offset, value);
    return *this;
  }
  TestFile& SheetText(int index, size_t offset, std::string_view text) {
    return Text(m_worksheets.at(index), offset, text);
  }

  template <class T>
  TestFile& Record(int index, size_t offset, T value) {
    base::StoreLE<T>(m_records.at(index), offset, value);
    return *this;
  }
  TestFile& RecordText(int index, size_t offset, std::string_view text) {
    return Text(m_records.at(index), offset, text);
  }

  // Adds `count` positions of 52 bytes to a worksheet (first f64 = 1, 2, ...)
  // and stores size and count in its image.
  TestFile& AddPositions(int sheet, int count) {
    for (int i = 0; i < count; ++i) {
      std::vector<uint8_t> position(52);
      base::StoreLE<double>(position, 0, static_cast<double>(m_positions.at(sheet).size() + 1));
      m_positions[sheet].push_back(position);
    }
    Sheet<uint32_t>(sheet, 1760, 52);
    Sheet<uint32_t>(sheet, 1764, static_cast<uint32_t>(m_positions[sheet].size()));
    return *this;
  }

  // The file without its signature, as the reader sees it.
  std::vector<uint8_t> Body() const {
    std::vector<uint8_t> out(8);
    base::StoreLE<uint32_t>(out, 0, m_version);
    base::StoreLE<uint32_t>(out, 4, m_settingsSize);
    out.insert(out.end(), m_settings.begin(), m_settings.end());
    for (size_t i = 0; i < m_worksheets.size(); ++i) {
      out.insert(out.end(), m_worksheets[i].begin(), m_worksheets[i].end());
      for (const auto& p : m_positions[i]) out.insert(out.end(), p.begin(), p.end());
    }
    for (const auto& r : m_records) out.insert(out.end(), r.begin(), r.end());
    return out;
  }

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> out = {'k', 'o', 'o', 'r'};
    const auto body = Body();
    out.insert(out.end(), body.begin(), body.end());
    return out;
  }

  void WriteTo(const std::filesystem::path& path) const {
    const auto bytes = Bytes();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

 private:
  TestFile& Text(std::vector<uint8_t>& image, size_t offset, std::string_view text) {
    base::StoreBytes(image, offset, text.data(), text.size());
    base::StoreLE<uint8_t>(image, offset + text.size(), 0);
    return *this;
  }

  uint32_t m_version;
  uint32_t m_settingsSize;
  std::vector<uint8_t> m_settings;
  std::vector<std::vector<uint8_t>> m_worksheets;
  std::vector<std::vector<std::vector<uint8_t>>> m_positions;
  std::vector<std::vector<uint8_t>> m_records;
};

}  // namespace hp::test
