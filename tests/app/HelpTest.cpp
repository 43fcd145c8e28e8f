// The user guide: every dialog's help topic has its own page where the build
// puts the guide, F1 and the "Hilfe" button open it, and a topic without a
// page opens the start page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/AppTestSupport.h"
#include "app/PlanDoc.h"
#include "app/dialogs/AnimationOptionsDialog.h"
#include "app/dialogs/CalculatorDialog.h"
#include "app/dialogs/ChoiceDialog.h"
#include "app/dialogs/CoordinatesDialog.h"
#include "app/dialogs/DataEditorDialog.h"
#include "app/dialogs/DisplayDialog.h"
#include "app/dialogs/DocumentDialogs.h"
#include "app/dialogs/EvaluationDialog.h"
#include "app/dialogs/ExportDialogs.h"
#include "app/dialogs/LegDisplayDialog.h"
#include "app/dialogs/LoopEvaluationDialog.h"
#include "app/dialogs/OverviewDialog.h"
#include "app/dialogs/PageSetupDialog.h"
#include "app/dialogs/ProtocolDialog.h"
#include "app/dialogs/SubSheetDialog.h"
#include "app/dialogs/WorksheetDialogs.h"
#include "app/dialogs/WorksheetSettingsDialog.h"
#include "calc/SurveyCalculator.h"
#include "draw/interaction/DisplayDialog.h"
#include "draw/interaction/LegDisplayDialog.h"
#include "draw/interaction/WorksheetDialog.h"
#include "draw/protocol/ProtocolDialog.h"
#include "edit/CoordinatesDialog.h"
#include "edit/DataEditorTexts.h"
#include "import/ImportCommand.h"

namespace hp::app {
namespace {

const std::filesystem::path kGuide = std::filesystem::path(HP_BUILD_FOLDER) / "help" / "html";

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The guide the build made.
class Help : public test::AppTest {
 protected:
  void SetUp() override { app().programFolder = HP_BUILD_FOLDER; }
};

TEST_F(Help, ATopicWithoutAPageOpensTheStartPageAndNoGuideOpensNothing) {
  EXPECT_EQ(HelpPage(HP_BUILD_FOLDER, QStringLiteral("Gibt es nicht")), kGuide / "index.htm");
  EXPECT_EQ(HelpPage(kGuide / "nirgends", QStringLiteral("Datenauswertung")), std::nullopt);
  app().programFolder = kGuide / "nirgends";
  EXPECT_FALSE(OpenHelpTopic(app(), QStringLiteral("Farben")));
  EXPECT_TRUE(Context().shell.opened.empty());
}

// Opens a dialog as the program does; while it is shown, clicks its one
// "Hilfe" button and closes it. Returns the pages the shell was asked to open.
std::vector<std::string> PagesOpenedByHelpButton(test::TestContext& context, const std::function<void()>& open) {
  context.shell.opened.clear();
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr) << "no dialog opened";
    std::vector<QPushButton*> help;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("Hilfe")) help.push_back(button);
    EXPECT_EQ(help.size(), 1U) << dialog->windowTitle().toStdString();
    if (!help.empty()) help.front()->click();
    dialog->reject();
  });
  open();
  return context.shell.opened;
}

template <class Dialog, class... Args>
std::function<void()> Shown(AppContext& app, Args... args) {
  return [&app, args...] { Dialog(app, args...).exec(); };
}

TEST_F(Help, EveryDialogWithAPageHasAHelpButtonThatOpensIt) {
  QWidget* const none = nullptr;
  CPlanDoc doc{app()};
  doc::SurveyRecord record;
  edit::EditorSettings editor;
  const doc::SurveyRecord* marked = nullptr;
  const auto options = [this](exports::ExportOptionsDialog which) {
    return [this, which] { RunExportOptions(app(), nullptr, which); };
  };
  const auto worksheet = [this, none](WorksheetDialogKind kind) {
    WorksheetDialogOptions o;
    o.kind = kind;
    return Shown<CWorksheetDialog>(app(), o, none);
  };
  using Export = exports::ExportOptionsDialog;
  // clang-format off
  const std::vector<std::pair<QString, std::function<void()>>> dialogs = {
      {Utf8(edit::texts::kCaption), [&] { CDataEditorDialog(nullptr, doc, &marked).exec(); }},
      {Utf8(edit::texts::kNewCaption), [&] { AskPlacement(app(), nullptr, editor); }},
      {Utf8(edit::texts::kSearchCaption), [&] { AskSearchDirection(app(), nullptr, editor); }},
      {QStringLiteral("Vermessungsdaten Übersicht"), [&] { COverviewDialog(nullptr, doc).exec(); }},
      {Utf8(calc::kCalculatorCaption), [&] { RunSurveyCalculator(app(), nullptr, doc.store(), record); }},
      {Utf8(calc::kDistanceCaption), [&] { RunStationDistanceDialog(app(), nullptr, doc.store(), record, nullptr); }},
      {Utf8(edit::kCoordinatesCaption), [&] { RunCoordinatesDialog(nullptr, doc, record); }},
      {QStringLiteral("Datenauswertung"), Shown<CEvaluationDialog>(app(), none, calc::SurveyEvaluation{})},
      {QStringLiteral("Ringschlussauswertung"), [&] { CLoopEvaluationDialog(nullptr, doc, {}).exec(); }},
      {QStringLiteral("Dokument"), [&] { RunDocumentDialog(nullptr, doc); }},
      {QStringLiteral("Optionen Daten"), [&] { RunDataOptionsDialog(nullptr, doc); }},
      {QStringLiteral("Schriftarten"), [&] { RunFontsDialog(nullptr, doc); }},
      {QStringLiteral("Farben"), [&] { RunColoursDialog(nullptr, doc); }},
      {QStringLiteral("Geräte"), [&] { RunInstrumentsDialog(nullptr, doc); }},
      {QStringLiteral("Ebenen"), [&] { RunLevelNamesDialog(nullptr, doc); }},
      {QStringLiteral("Vermesser"), [&] { RunSurveyorNamesDialog(nullptr, doc); }},
      {Utf8(draw::kDisplayDialogCaption),
       Shown<CDisplayDialog>(app(), none, draw::DisplayDialogState{}, doc::DisplayType::Plan)},
      {Utf8(draw::legs::kCaption), Shown<CLegDisplayDialog>(app(), draw::LegDisplayOptions{}, none,
                                                            std::function<void(const draw::LegDisplayOptions&)>{})},
      {Utf8(draw::sheet::kCaption), Shown<CWorksheetSettingsDialog>(app(), draw::WorksheetOptions{}, none,
                                                                    std::function<void(const draw::WorksheetOptions&)>{})},
      {QStringLiteral("Seite einrichten"), Shown<CPageSetupDialog>(app(), draw::PageSetupOptions{}, doc::DisplayType::Plan, none,
                                                                   CPageSetupDialog::Store{}, CPageSetupDialog::Centre{})},
      {QStringLiteral("Teilblätter"), Shown<CSubSheetDialog>(app(), draw::SubSheetOptions{}, std::filesystem::path(),
                                                             none, CSubSheetDialog::Store{})},
      {Utf8(draw::protocol_dialog_texts::kTitle), Shown<CProtocolDialog>(app(), draw::ProtocolOptions{}, none)},
      {QStringLiteral("Optionen Animation"), Shown<CAnimationOptionsDialog>(app(), none)},
      {QString::fromUtf8(imports::texts::kTableQuestion),
       [this] { AskChoice(app(), nullptr, QString::fromUtf8(imports::texts::kTableQuestion), {"a", "b"}, 0); }},
      {QString::fromUtf8(imports::texts::kDocumentQuestion),
       [this] { AskChoice(app(), nullptr, QString::fromUtf8(imports::texts::kDocumentQuestion), {"a", "b"}, 0); }},
      {WorksheetDialogCaption(WorksheetDialogKind::Select), worksheet(WorksheetDialogKind::Select)},
      {WorksheetDialogCaption(WorksheetDialogKind::New), worksheet(WorksheetDialogKind::New)},
      {WorksheetDialogCaption(WorksheetDialogKind::Copy), worksheet(WorksheetDialogKind::Copy)},
      {WorksheetDialogCaption(WorksheetDialogKind::Move), worksheet(WorksheetDialogKind::Move)},
      {WorksheetDialogCaption(WorksheetDialogKind::Rename), worksheet(WorksheetDialogKind::Rename)},
      // The save dialog of the export and every format's options share a page
      // (the table and document copy choices are built as the DXF one).
      {Utf8(exports::kExportDialogTitle),
       [this] { MakeExportFileDialog(app(), nullptr, QString(), "x.txt", 1)->exec(); }},
      {Utf8(exports::kExportDialogTitle), options(Export::Dxf)},
      {Utf8(exports::kExportDialogTitle), options(Export::Gpx)},
      {Utf8(exports::kExportDialogTitle), options(Export::Kml)},
      {Utf8(exports::kExportDialogTitle), options(Export::Vrml)},
  };
  // clang-format on
  for (const auto& [page, open] : dialogs) {
    // The page itself, not the start page that stands in for a missing one.
    const std::string own = (kGuide / (page.toStdString() + ".htm")).string();
    EXPECT_EQ(PagesOpenedByHelpButton(Context(), open), std::vector<std::string>{own}) << page.toStdString();
  }
}

TEST_F(Help, F1OpensThePageTheHelpButtonOpens) {
  CEvaluationDialog dialog(app(), nullptr, calc::SurveyEvaluation{});
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &f1);
  EXPECT_EQ(Context().shell.opened, std::vector<std::string>{(kGuide / "Datenauswertung.htm").string()});
}

}  // namespace
}  // namespace hp::app
