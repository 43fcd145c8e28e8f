// The user guide: every dialog's help topic has its own page where the build
// puts the guide, F1 and the "Hilfe" button open it, and a topic without a
// page opens the start page.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QApplication>
#include <QKeyEvent>

#include "app/AppTestSupport.h"
#include "app/dialogs/EvaluationDialog.h"
#include "app/dialogs/WorksheetDialogs.h"
#include "calc/SurveyCalculator.h"
#include "doc/DocumentDialogs.h"
#include "draw/DisplayDialog.h"
#include "draw/LegDisplayDialog.h"
#include "draw/ProtocolDialog.h"
#include "draw/WorksheetDialog.h"
#include "edit/CoordinatesDialog.h"
#include "edit/DataEditorTexts.h"
#include "import/ImportCommand.h"

namespace hp::app {
namespace {

const std::filesystem::path kGuide = std::filesystem::path(HP_BUILD_FOLDER) / "help" / "html";

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The captions of the program's dialogs, which name their help topics, and
// the start page of "Hilfethemen".
std::vector<QString> Topics() {
  std::vector<QString> topics = {
      QStringLiteral("index"), Utf8(edit::texts::kCaption), Utf8(edit::texts::kNewCaption),
      Utf8(edit::texts::kSearchCaption), Utf8(edit::kCoordinatesCaption), Utf8(calc::kCalculatorCaption),
      Utf8(calc::kDistanceCaption), Utf8(draw::kDisplayDialogCaption), Utf8(draw::legs::kCaption),
      Utf8(draw::sheet::kCaption), QString::fromUtf8(imports::texts::kDocumentQuestion),
      QString::fromUtf8(imports::texts::kTableQuestion),
      QString::fromUtf8(doc::NameListModel(doc::NameList::Levels).Caption()),
      QString::fromUtf8(doc::NameListModel(doc::NameList::Surveyors).Caption()),
      // Captions the windows set themselves.
      QStringLiteral("Vermessungsdaten Übersicht"), QStringLiteral("Datenauswertung"),
      QStringLiteral("Ringschlussauswertung"), QStringLiteral("Dokument"), QStringLiteral("Optionen Daten"),
      QStringLiteral("Schriftarten"), QStringLiteral("Farben"), QStringLiteral("Geräte"),
      QStringLiteral("Optionen Animation"),
      Utf8(draw::protocol_dialog_texts::kTitle)};
  for (auto kind : {WorksheetDialogKind::Select, WorksheetDialogKind::New, WorksheetDialogKind::Copy,
                    WorksheetDialogKind::Move, WorksheetDialogKind::Rename}) {
    topics.push_back(WorksheetDialogCaption(kind));
  }
  return topics;
}

TEST(Help, EveryTopicHasItsOwnPage) {
  for (const QString& topic : Topics()) {
    const auto page = HelpPage(HP_BUILD_FOLDER, topic);
    ASSERT_TRUE(page.has_value()) << topic.toStdString();
    EXPECT_EQ(*page, kGuide / (topic.toStdString() + ".htm"));
  }
}

TEST(Help, ATopicWithoutAPageOpensTheStartPageAndNoGuideOpensNothing) {
  EXPECT_EQ(HelpPage(HP_BUILD_FOLDER, QStringLiteral("Gibt es nicht")), kGuide / "index.htm");
  EXPECT_EQ(HelpPage(kGuide / "nirgends", QStringLiteral("Datenauswertung")), std::nullopt);
}

TEST(Help, F1AndTheHelpButtonOpenTheDialogsPage) {
  auto& context = test::Context();
  const std::filesystem::path before = context.context.programFolder;
  context.context.programFolder = HP_BUILD_FOLDER;
  context.shell.opened.clear();
  CEvaluationDialog dialog(nullptr, calc::SurveyEvaluation{});
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &f1);
  dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
  context.context.programFolder = before;
  const std::string page = (kGuide / "Datenauswertung.htm").string();
  EXPECT_EQ(context.shell.opened, (std::vector<std::string>{page, page}));
}

}  // namespace
}  // namespace hp::app
