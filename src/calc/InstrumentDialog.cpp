// The instrument dialog's cells and its OK.
#include "calc/InstrumentDialog.h"

#include <stdexcept>
#include <string>
#include <variant>

#include "base/FieldMessages.h"
#include "base/NumberField.h"
#include "base/NumberFormat.h"

namespace hp::calc {

namespace {
constexpr InstrumentColumn kColumns[kInstrumentColumnCount] = {
    InstrumentColumn::Name,        InstrumentColumn::Divider,         InstrumentColumn::Sag,
    InstrumentColumn::AzimuthUnit, InstrumentColumn::Declination,     InstrumentColumn::Year,
    InstrumentColumn::Change,      InstrumentColumn::InclinationUnit, InstrumentColumn::Vertical};

int PositionOf(InstrumentColumn column) {
  for (int i = 0; i < kInstrumentColumnCount; ++i) {
    if (kColumns[i] == column) return i;
  }
  return 0;
}

double* NumberOf(doc::Instrument& instrument, InstrumentColumn column) {
  switch (column) {
    case InstrumentColumn::Divider: return &instrument.divider;
    case InstrumentColumn::Sag: return &instrument.sag;
    case InstrumentColumn::Declination: return &instrument.declination;
    case InstrumentColumn::Year: return &instrument.declinationYear;
    case InstrumentColumn::Change: return &instrument.declinationChange;
    default: return nullptr;
  }
}

uint32_t* ChoiceOf(doc::Instrument& instrument, InstrumentColumn column) {
  switch (column) {
    case InstrumentColumn::AzimuthUnit: return &instrument.azimuthUnit;
    case InstrumentColumn::InclinationUnit: return &instrument.inclinationUnit;
    case InstrumentColumn::Vertical: return &instrument.verticalReference;
    default: return nullptr;
  }
}

doc::DialogOutcome Refuse(int number, InstrumentColumn column, std::string message) {
  doc::DialogOutcome outcome;
  outcome.fault = base::FieldFault<int>{InstrumentCellField(number, column), std::move(message)};
  return outcome;
}
}  // namespace

InstrumentColumn InstrumentColumnAt(int position) { return kColumns[position]; }

const char* InstrumentColumnTitle(InstrumentColumn column) {
  switch (column) {
    case InstrumentColumn::Name: return "Ger\u00e4t";
    case InstrumentColumn::Divider: return "Teiler";
    case InstrumentColumn::Sag: return "Durchhang";
    case InstrumentColumn::AzimuthUnit: return "Azimut";
    case InstrumentColumn::Declination: return "Deklination";
    case InstrumentColumn::Year: return "Jahr";
    case InstrumentColumn::Change: return "\u00c4nderung";
    case InstrumentColumn::InclinationUnit: return "Neigung";
    case InstrumentColumn::Vertical: return "Vertik";
  }
  return "";
}

std::string InstrumentRowLabel(int number) {
  return number <= 9 ? "&" + std::to_string(number) : std::to_string(number);
}

bool IsListColumn(InstrumentColumn column) {
  return column == InstrumentColumn::AzimuthUnit || column == InstrumentColumn::InclinationUnit ||
         column == InstrumentColumn::Vertical;
}

int ChoiceCount(InstrumentColumn column) {
  if (!IsListColumn(column)) return 0;
  return column == InstrumentColumn::Vertical ? 3 : 2;
}

const char* ChoiceText(InstrumentColumn column, int index) {
  if (index < 0 || index >= ChoiceCount(column)) return "";
  return column == InstrumentColumn::Vertical ? kVerticalReferences[index] : kAngleUnits[index];
}

int InstrumentCellField(int number, InstrumentColumn column) {
  return (number - 1) * kInstrumentColumnCount + PositionOf(column);
}
int InstrumentOfField(int field) { return field / kInstrumentColumnCount + 1; }
InstrumentColumn ColumnOfField(int field) { return kColumns[field % kInstrumentColumnCount]; }

size_t InstrumentDialogModel::Cell(int number, InstrumentColumn column) {
  if (number < 1 || number > doc::kInstrumentCount) {
    throw std::out_of_range("instrument number " + std::to_string(number) + " outside 1 to " +
                            std::to_string(doc::kInstrumentCount));
  }
  return static_cast<size_t>(InstrumentCellField(number, column));
}

InstrumentDialogModel::InstrumentDialogModel(const doc::DocumentSettings& settings) {
  for (int number = 1; number <= doc::kInstrumentCount; ++number) {
    doc::Instrument instrument = doc::GetInstrument(settings, number);
    for (InstrumentColumn column : kColumns) {
      if (column == InstrumentColumn::Name) {
        m_texts[Cell(number, column)] = instrument.name;
      } else if (const double* value = NumberOf(instrument, column)) {
        m_texts[Cell(number, column)] = doc::FormatEntryNumber(*value);
      } else {
        m_choices[Cell(number, column)] = static_cast<int>(*ChoiceOf(instrument, column));
      }
    }
  }
}

const std::string& InstrumentDialogModel::Text(int number, InstrumentColumn column) const {
  return m_texts[Cell(number, column)];
}

void InstrumentDialogModel::SetText(int number, InstrumentColumn column, std::string text) {
  m_texts[Cell(number, column)] = std::move(text);
}

int InstrumentDialogModel::Choice(int number, InstrumentColumn column) const { return m_choices[Cell(number, column)]; }

void InstrumentDialogModel::SetChoice(int number, InstrumentColumn column, int index) {
  m_choices[Cell(number, column)] = index;
}

doc::DialogOutcome InstrumentDialogModel::Apply(doc::DocumentSettings& settings) const {
  InstrumentTable table(settings);
  for (int number = 1; number <= doc::kInstrumentCount; ++number) {
    doc::Instrument& instrument = table.At(number);
    for (InstrumentColumn column : kColumns) {
      if (column == InstrumentColumn::Name) {
        instrument.name = Text(number, column);
      } else if (double* value = NumberOf(instrument, column)) {
        // The range itself is checked with the whole table below.
        const ColumnRange range = RangeOf(column);
        auto typed = base::ReadNumberField(Text(number, column),
                                           {.notANumber = base::messages::NumberBetweenPlease(range.min, range.max)});
        if (auto* message = std::get_if<std::string>(&typed)) return Refuse(number, column, std::move(*message));
        *value = std::get<double>(typed);
      } else {
        // A negative choice must not wrap into a huge unsigned value.
        const int choice = Choice(number, column);
        *ChoiceOf(instrument, column) = choice < 0 ? 99u : static_cast<uint32_t>(choice);
      }
    }
  }
  if (const auto invalid = table.FirstInvalid()) {
    const auto [number, column] = *invalid;
    if (column == InstrumentColumn::Name) {
      return Refuse(
          number, column,
          "Der Ger\u00e4tename darf h\u00f6chstens " + std::to_string(kInstrumentNameMax) + " Zeichen lang sein.");
    }
    const ColumnRange range = RangeOf(column);
    const std::string message = IsListColumn(column) ? "Bitte einen Eintrag der Liste w\u00e4hlen."
                                                     : base::messages::NumberBetweenPlease(range.min, range.max);
    return Refuse(number, column, message);
  }
  table.Apply(settings);
  doc::DialogOutcome outcome;
  outcome.modified = outcome.recompute = outcome.redraw = true;
  return outcome;
}

}  // namespace hp::calc
