// The window of the sub-sheet dialog.
#include "app/dialogs/SubSheetDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "app/QtText.h"
#include "draw/BackgroundMap.h"

namespace hp::app {

namespace {

using F = draw::SubSheetField;

std::string* Member(draw::SubSheetOptions& o, F field) {
  switch (field) {
    case F::OverviewLeft: return &o.overviewLeft;
    case F::OverviewBottom: return &o.overviewBottom;
    case F::OverviewRight: return &o.overviewRight;
    case F::OverviewTop: return &o.overviewTop;
    case F::SheetLeft: return &o.sheetLeft;
    case F::SheetBottom: return &o.sheetBottom;
    case F::SheetRight: return &o.sheetRight;
    case F::SheetTop: return &o.sheetTop;
    case F::Rows: return &o.rows;
    case F::Columns: return &o.columns;
    case F::OverviewGrid: return &o.overviewGrid;
    case F::SheetGrid: return &o.sheetGrid;
    case F::MapLeft: return &o.mapLeft;
    case F::MapBottom: return &o.mapBottom;
    case F::MapRight: return &o.mapRight;
    case F::MapTop: return &o.mapTop;
  }
  return &o.overviewLeft;
}

constexpr int kFieldCount = 16;

}  // namespace

CSubSheetDialog::CSubSheetDialog(AppContext& app, const draw::SubSheetOptions& initial,
                                 std::filesystem::path documentFolder, QWidget* parent, Store store)
    : CDialogBase(app, parent, Q(draw::subsheet::kCaption)), m_folder(std::move(documentFolder)),
      m_store(std::move(store)) {
  namespace t = draw::subsheet;
  for (QLineEdit*& field : m_fields) field = new QLineEdit(this);
  const auto check = [this](std::string_view text) { return new QCheckBox(Q(text), this); };
  m_manualOverview = check(t::kManualOverview);
  m_manualSubSheets = check(t::kManualSubSheets);
  m_manualPages = check(t::kManualPages);
  m_manualGrid = check(t::kManualGrid);
  m_map = check(t::kMap);
  m_keepSize = check(t::kKeepSize);
  m_keepProportions = check(t::kKeepProportions);
  m_mapFile = new QLineEdit(this);
  m_mapFile->setMaxLength(static_cast<int>(draw::kMaxMapNameLength));

  // A rectangle: its check box, then left, bottom, right, top.
  const auto rectangle = [this](QGridLayout* grid, int row, QWidget* head, F first) {
    grid->addWidget(head, row, 0);
    for (int i = 0; i < 4; ++i) grid->addWidget(Field(static_cast<F>(static_cast<int>(first) + i)), row, i + 1);
  };
  auto* grid = new QGridLayout;
  const std::string_view heads[] = {t::kMapLeft, t::kMapBottom, t::kMapRight, t::kMapTop};
  for (int i = 0; i < 4; ++i) grid->addWidget(new QLabel(Q(heads[i]), this), 0, i + 1);
  rectangle(grid, 1, m_manualOverview, F::OverviewLeft);
  rectangle(grid, 2, m_manualSubSheets, F::SheetLeft);
  grid->addWidget(m_manualPages, 3, 0);
  grid->addWidget(new QLabel(Q(t::kRows), this), 3, 1);
  grid->addWidget(Field(F::Rows), 3, 2);
  grid->addWidget(new QLabel(Q(t::kColumns), this), 3, 3);
  grid->addWidget(Field(F::Columns), 3, 4);
  grid->addWidget(m_manualGrid, 4, 0);
  grid->addWidget(new QLabel(Q(t::kOverviewGrid), this), 4, 1);
  grid->addWidget(Field(F::OverviewGrid), 4, 2);
  grid->addWidget(new QLabel(Q(t::kSheetGrid), this), 4, 3);
  grid->addWidget(Field(F::SheetGrid), 4, 4);

  auto* mapBox = new QGroupBox(this);
  auto* mapGrid = new QGridLayout(mapBox);
  auto* choose = new QPushButton(Q(t::kChooseMap), mapBox);
  mapGrid->addWidget(m_map, 0, 0);
  mapGrid->addWidget(m_mapFile, 0, 1, 1, 3);
  mapGrid->addWidget(choose, 0, 4);
  for (int i = 0; i < 4; ++i) mapGrid->addWidget(new QLabel(Q(heads[i]), mapBox), 1, i + 1);
  rectangle(mapGrid, 2, new QWidget(mapBox), F::MapLeft);
  mapGrid->addWidget(m_keepSize, 3, 1, 1, 2);
  mapGrid->addWidget(m_keepProportions, 3, 3, 1, 2);
  connect(choose, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(this, Q(draw::subsheet::kChooseMapTitle),
                                                      QString::fromStdString(m_folder.string()),
                                                      Q(draw::subsheet::kMapFilter) + QStringLiteral(";;*"));
    if (!file.isEmpty()) ChooseMap(file.toStdString());
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(mapBox);
  layout->addWidget(AddHelpButton(MakeOkCancelButtons()));
  setOptions(initial);
}

QLineEdit* CSubSheetDialog::Field(F field) const { return m_fields[static_cast<int>(field)]; }

draw::SubSheetOptions CSubSheetDialog::options() const {
  draw::SubSheetOptions o;
  for (int i = 0; i < kFieldCount; ++i) *Member(o, static_cast<F>(i)) = m_fields[i]->text().toStdString();
  o.manualOverview = m_manualOverview->isChecked();
  o.manualSubSheets = m_manualSubSheets->isChecked();
  o.manualPages = m_manualPages->isChecked();
  o.manualGrid = m_manualGrid->isChecked();
  o.map = m_map->isChecked();
  o.mapFile = ToStored(m_mapFile->text());
  o.keepSize = m_keepSize->isChecked();
  o.keepProportions = m_keepProportions->isChecked();
  return o;
}

void CSubSheetDialog::setOptions(const draw::SubSheetOptions& o) {
  draw::SubSheetOptions copy = o;
  for (int i = 0; i < kFieldCount; ++i) m_fields[i]->setText(QString::fromStdString(*Member(copy, static_cast<F>(i))));
  m_manualOverview->setChecked(o.manualOverview);
  m_manualSubSheets->setChecked(o.manualSubSheets);
  m_manualPages->setChecked(o.manualPages);
  m_manualGrid->setChecked(o.manualGrid);
  m_map->setChecked(o.map);
  m_mapFile->setText(FromStored(o.mapFile));
  m_keepSize->setChecked(o.keepSize);
  m_keepProportions->setChecked(o.keepProportions);
}

void CSubSheetDialog::ChooseMap(const std::filesystem::path& file) {
  const std::optional<std::string> name = draw::MapFileName(file, m_folder);
  if (!name) {
    app().prompter.Message(draw::subsheet::kMapNameTooLong, platform::Icon::Exclamation);
    return;
  }
  draw::SubSheetOptions o = options();
  o.mapFile = *name;
  o.map = true;
  draw::Image picture;
  if (draw::ReadBitmapFile(file, picture) == draw::BitmapStatus::Ok)
    draw::AdaptMapEdges(o, picture.width, picture.height);
  setOptions(o);
}

void CSubSheetDialog::accept() {
  if (m_store) {
    if (const auto fault = m_store(options())) {
      app().prompter.Message(fault->message, platform::Icon::Exclamation);
      Field(fault->field)->setFocus();
      Field(fault->field)->selectAll();
      return;
    }
  }
  CDialogBase::accept();
}

}  // namespace hp::app
