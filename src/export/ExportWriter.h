// The export writers: one class per file format, each fed by one shared walk
// over the records of the current worksheet. A writer sees the records in list
// order with their leg-filter answer and writes text to a byte sink; every
// line break it writes becomes carriage return and line feed in the file.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "base/ByteStream.h"
#include "doc/LegFilter.h"
#include "doc/SurveyStore.h"
#include "doc/Worksheet.h"
#include "draw/LineColours.h"
#include "draw/ViewTransform.h"
#include "platform/SettingsStore.h"

namespace hp::exports {

// What the last drawing of the worksheet left for the exports: the projected
// points and the drawn colour of every record (by list position), and the
// reference values of the height and path labels. Empty spans mean nothing
// was drawn: the points are then zero and the colour is the record's own.
struct DrawnView {
  std::span<const draw::ProjectionSlots> slots;
  std::span<const draw::LineColour> colours;
  double heightOffset = 0;
  double referencePath = 0;
  const draw::ViewTransform* transform = nullptr;  // the drawing's view (reference point, extent)
};

// Which records the table text writes.
enum class TableIncludes {
  Without,  // leaves out the records read from include files
  All,      // all records, with no include file names
};

struct ExportContext {
  const doc::SurveyStore& store;
  const doc::Worksheet& worksheet;
  const platform::SettingsStore& settings;
  DrawnView view;
  TableIncludes includeMode = TableIncludes::Without;  // table text only

  // The station label the map drawing shows for a record, in Windows-1252
  // with control characters as blanks (empty when the worksheet numbers no
  // stations).
  std::string LabelText(const doc::SurveyRecord& record) const;
  // The view direction and camera centre the drawing looked from (the
  // worksheet's own when nothing was drawn).
  draw::ViewPose Pose() const;
  // The colour number the drawing last gave the record.
  int DrawnColour(size_t index) const;
  // In the loop-quality colour mode 1 + the record's loop class (see
  // draw::LineColour), else 0.
  int DrawnLoopClass(size_t index) const;
  draw::ProjectionSlots Slots(size_t index) const;
};

// Text written to a byte sink through a buffer; "\n" becomes "\r\n".
class TextOut {
 public:
  explicit TextOut(base::ByteSink& sink) : m_sink(sink) {}
  ~TextOut() { Flush(); }
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;

  TextOut& operator<<(std::string_view text);
  TextOut& operator<<(char c);
  bool Flush();
  bool ok() const { return !m_failed; }
  // Whether a number that is not finite was written (see Fixed).
  bool unwritable() const { return m_unwritable; }

 private:
  base::ByteSink& m_sink;
  std::string m_buffer;
  bool m_failed = false;
  bool m_unwritable = false;
};

struct RecordEntry {
  const doc::SurveyRecord& record;
  size_t index;                // list position
  doc::LegVisibility visible;  // both false when the writer uses no filter
};

class ExportWriter {
 public:
  virtual ~ExportWriter() = default;
  // Whether the walk asks the worksheet's leg filter about each record.
  virtual bool UsesLegFilter() const { return true; }
  // Whether the writer reads what the drawing left (points, colours, labels).
  virtual bool UsesDrawing() const { return true; }
  // Whether the writer wants the records at all.
  virtual bool WalksRecords() const { return true; }
  // The message that refuses to write the file for these records; empty
  // when the writer can write it.
  virtual std::string Refusal(const ExportContext& /*context*/) const { return {}; }
  virtual void Begin(TextOut& /*out*/, const ExportContext& /*context*/) {}
  virtual void Record(TextOut& /*out*/, const ExportContext& /*context*/, const RecordEntry& /*entry*/) {}
  virtual void End(TextOut& /*out*/, const ExportContext& /*context*/) {}
};

// Every record in list order with its leg-filter answer (the filter started
// afresh; both answers false when `filtered` is false) handed to `visit`.
template <typename Visit>
void WalkRecords(const ExportContext& context, bool filtered, Visit&& visit) {
  doc::LegFilter filter;
  filter.Init();
  for (size_t n = 0; n < context.store.records.size(); ++n) {
    const doc::SurveyRecord& record = *context.store.records[n];
    const doc::LegVisibility visible = filtered ? filter.Test(record, context.worksheet) : doc::LegVisibility{};
    visit(RecordEntry{record, n, visible});
  }
}

enum class WriteStatus {
  kWritten,
  kSinkFailed,        // the sink refused bytes
  kUnwritableNumber,  // the file would hold a number that is not finite
};

// The shared walk: Begin, every record in list order (the filter started
// afresh), End.
WriteStatus RunWriter(ExportWriter& writer, base::ByteSink& sink, const ExportContext& context);

// Colour index 1 to 16 of a colour number: ((|c| - 1) mod 16) + 1.
int ColourIndex(int colour);
// The colour of a loop class (1 + calc::LoopClass, as DrawnLoopClass) as
// RGB: the drawing's fixed ramp, the frame colour for a leg in no loop.
uint32_t LoopClassRgb(const doc::DocumentSettings& settings, int loopClass);
// floor(100 v + 0.5) / 100 and floor(10 v + 0.5) / 10.
double Q2(double value);
double Q1(double value);
// "%0.2lf" and friends with a decimal point. A value that is not finite has
// no text in any file: it gives kUnwritableNumber, which TextOut notes and the
// export refuses (a stored text never holds that byte, nor does anything
// else a writer writes).
inline constexpr char kUnwritableNumber = '\0';
std::string Fixed(double value, int decimals);
// The same, appended to `text`.
void AppendFixed(std::string& text, double value, int decimals);
// A stored (Windows-1252) text for a line of a file: control characters,
// which would end or split the line for other programs, as blanks. A
// kUnwritableNumber, which no stored text holds, stays for TextOut to find.
std::string LineText(std::string_view stored);

}  // namespace hp::exports
