#include "export/ExportWriter.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/Cp1252.h"
#include "base/FixedText.h"
#include "base/NumberFormat.h"
#include "draw/StationLabel.h"

namespace hp::exports {
namespace {
constexpr size_t kFlushSize = 1 << 16;
}

std::string ExportContext::LabelText(const doc::SurveyRecord& record) const {
  const int kind = worksheet.stationNumbering();
  if (kind >= 1 && kind <= 10 && worksheet.descriptionOverridesNumbering() != 0 &&
      !base::TextOf(record.description).empty())
    return LineText(base::TextOf(record.description));
  // A height or path label that is no number cannot be written.
  if ((kind == 5 && !std::isfinite(record.z - view.heightOffset)) ||
      (kind == 6 && !std::isfinite(record.pathLength - view.referencePath)))
    return std::string(1, kUnwritableNumber);
  return LineText(
      base::Utf8ToCp1252(draw::StationLabel(record, kind, store.settings, view.heightOffset, view.referencePath)));
}

draw::ViewPose ExportContext::Pose() const {
  return view.transform ? draw::PoseOf(*view.transform, worksheet) : draw::StoredPose(worksheet);
}

int ExportContext::DrawnColour(size_t index) const {
  if (index < view.colours.size()) return view.colours[index].number;
  return index < store.records.size() ? store.records[index]->colour : 0;
}

int ExportContext::DrawnLoopClass(size_t index) const {
  return index < view.colours.size() ? view.colours[index].loopClass : 0;
}

uint32_t LoopClassRgb(const doc::DocumentSettings& settings, int loopClass) {
  return loopClass >= 1 && loopClass <= 4 ? draw::LoopClassColour(loopClass - 1) : settings.frameColour;
}

draw::ProjectionSlots ExportContext::Slots(size_t index) const {
  return index < view.slots.size() ? view.slots[index] : draw::ProjectionSlots{};
}

TextOut& TextOut::operator<<(std::string_view text) {
  if (text.find(kUnwritableNumber) != std::string_view::npos) m_unwritable = true;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      m_buffer.append(text.substr(start));
      break;
    }
    m_buffer.append(text.substr(start, end - start));
    m_buffer.append("\r\n");
    start = end + 1;
  }
  if (m_buffer.size() >= kFlushSize) Flush();
  return *this;
}

TextOut& TextOut::operator<<(char c) { return *this << std::string_view(&c, 1); }

bool TextOut::Flush() {
  if (!m_buffer.empty() && !m_failed) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_buffer.data());
    if (!m_sink.Write(std::span<const uint8_t>(bytes, m_buffer.size()))) m_failed = true;
  }
  m_buffer.clear();
  return !m_failed;
}

WriteStatus RunWriter(ExportWriter& writer, base::ByteSink& sink, const ExportContext& context) {
  TextOut out(sink);
  writer.Begin(out, context);
  if (writer.WalksRecords())
    WalkRecords(context, writer.UsesLegFilter(), [&](const RecordEntry& entry) { writer.Record(out, context, entry); });
  writer.End(out, context);
  if (!out.Flush()) return WriteStatus::kSinkFailed;
  return out.unwritable() ? WriteStatus::kUnwritableNumber : WriteStatus::kWritten;
}

int ColourIndex(int colour) { return ((std::abs(colour) - 1) % 16) + 1; }

double Q2(double value) { return std::floor(100 * value + 0.5) / 100; }
double Q1(double value) { return std::floor(10 * value + 0.5) / 10; }

std::string Fixed(double value, int decimals) {
  if (!std::isfinite(value)) return std::string(1, kUnwritableNumber);
  // The usual numbers fit a short buffer and need no heap; the rest as the
  // program formats every number.
  if (std::fabs(value) < 1e15 && decimals >= 0 && decimals <= 9) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
  }
  return base::FormatFixed(value, decimals);
}

void AppendFixed(std::string& text, double value, int decimals) {
  if (!std::isfinite(value)) {
    text += kUnwritableNumber;
    return;
  }
  if (std::fabs(value) < 1e15 && decimals >= 0 && decimals <= 9) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    text.append(buffer, result.ptr);
    return;
  }
  text += base::FormatFixed(value, decimals);
}

std::string LineText(std::string_view stored) {
  std::string text(stored);
  if (base::BlankControlCharacters(text) != 0) {
    for (size_t k = 0; k < text.size(); ++k)
      if (stored[k] == kUnwritableNumber) text[k] = kUnwritableNumber;
  }
  return text;
}

}  // namespace hp::exports
