// The main window off-screen: commands enabled by state, the worksheet list,
// settings after a first start, the window placement and the save question.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <map>
#include <memory>

#include "app/AppTestSupport.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/ViewMouse.h"
#include "base/Cp1252.h"
#include "support/Survey.h"

namespace hp::app {
namespace {

class MainFrameTest : public test::AppTest {
 protected:
  platform::MemorySettingsStore& Settings() { return Context().settings; }
  platform::ScriptedPrompter& Prompter() { return Context().prompter; }
};

TEST_F(MainFrameTest, CommandsFollowTheDocumentAndItsDisplayType) {
  CMainFrame frame(app());
  EXPECT_EQ(frame.activeDocument(), nullptr);
  for (const char* text : {"Speichern", "Schließen", "Berechnen", "Importieren...", "Links"}) {
    ASSERT_NE(frame.command(QString::fromUtf8(text)), nullptr) << text;
    EXPECT_FALSE(frame.command(QString::fromUtf8(text))->isEnabled()) << text;
  }
  EXPECT_TRUE(frame.command(QStringLiteral("Neu"))->isEnabled());
  EXPECT_FALSE(frame.worksheetList()->isEnabled());

  CPlanDoc& doc = frame.NewDocument()->document();
  ASSERT_EQ(frame.activeDocument(), &doc);
  EXPECT_TRUE(frame.command(QStringLiteral("Speichern"))->isEnabled());
  EXPECT_TRUE(frame.command(QStringLiteral("Berechnen"))->isEnabled());
  EXPECT_EQ(frame.worksheetList()->count(), 1);
  doc.worksheet().setDisplayType(doc::DisplayType::Plan);  // plan: nothing to turn
  frame.UpdateCommands();
  EXPECT_FALSE(frame.command(QStringLiteral("Links"))->isEnabled());
  doc.worksheet().setDisplayType(doc::DisplayType::Elevation);  // elevation: sideways only
  frame.UpdateCommands();
  EXPECT_TRUE(frame.command(QStringLiteral("Links"))->isEnabled());
  EXPECT_FALSE(frame.command(QStringLiteral("Hoch"))->isEnabled());
  const double azimuth = doc.worksheet().viewAzimuth();
  frame.command(QStringLiteral("Rechts"))->trigger();
  EXPECT_DOUBLE_EQ(doc.worksheet().viewAzimuth(), azimuth + 5);
  EXPECT_TRUE(doc.isModified());
}

// One key, one command: the menus, the tool bars and the view's mouse modes
// never share a shortcut, and none takes a key the view itself handles
// (sheet and page keys, camera moves, scrolling).
TEST_F(MainFrameTest, EveryShortcutBelongsToOneCommand) {
  CMainFrame frame(app());
  frame.NewDocument();
  std::map<QString, QString> owner;
  for (const QAction* action : frame.findChildren<QAction*>()) {
    for (const QKeySequence& keys : action->shortcuts()) {
      const QString key = keys.toString(QKeySequence::PortableText);
      const auto [it, fresh] = owner.emplace(key, action->text());
      EXPECT_TRUE(fresh || it->second == action->text())
          << key.toStdString() << ": " << it->second.toStdString() << " / " << action->text().toStdString();
      const int combined = keys[0].toCombined();
      EXPECT_EQ(CViewMouse::CommandOfKey(combined & ~Qt::KeyboardModifierMask,
                                         Qt::KeyboardModifiers(combined & Qt::KeyboardModifierMask)),
                0)
          << key.toStdString() << " is a key of the view";
    }
  }
  EXPECT_GT(owner.size(), 20u);
}

TEST_F(MainFrameTest, FirstStartWritesItsSettingsAndClosingKeepsThePlacement) {
  {
    CMainFrame frame(app());
    EXPECT_TRUE(Settings().Contains("Settings", "Animation"));
    frame.show();
    frame.close();
  }
  EXPECT_EQ(Settings().GetInt("Settings", "FarbeLinks", -1), 16776960);
  EXPECT_EQ(Settings().GetInt("Settings", "FarbeRechts", -1), 255);
  const std::string placement = Settings().GetString("Settings", "WindowPos", "");
  EXPECT_EQ(std::count(placement.begin(), placement.end(), ','), 9) << placement;
  EXPECT_FALSE(Settings().Contains("Settings", "ShowCmd")) << "written only when it changed";
}

TEST_F(MainFrameTest, WindowPosWithNineNumbersIsIgnored) {
  Settings().SetString("Settings", "WindowPos", "0,1,-1,-1,-1,-1,50,60,450,360");
  {
    CMainFrame frame(app());
    EXPECT_EQ(frame.geometry().size(), QSize(400, 300));
  }
  Settings().SetString("Settings", "WindowPos", "0,1,-1,-1,-1,-1,50,60,450");
  CMainFrame frame(app());
  EXPECT_EQ(frame.size(), QSize(1024, 768));
}

TEST_F(MainFrameTest, ClosingAModifiedDocumentAsksToSave) {
  CMainFrame frame(app());
  frame.show();
  frame.NewDocument();
  CChildFrame* child = frame.NewDocument();
  EXPECT_EQ(child->windowTitle(), QStringLiteral("Unbenannt2"));
  child->document().setModified();
  Prompter().Script({platform::Answer::Cancel});
  EXPECT_FALSE(child->close());
  ASSERT_EQ(Prompter().Texts().size(), 1u);
  EXPECT_EQ(Prompter().Texts()[0], "Änderungen in Unbenannt2 speichern?");
  EXPECT_EQ(frame.children().size(), 2u);
  Prompter().Script({platform::Answer::No});
  EXPECT_TRUE(child->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(frame.children().size(), 1u);
}

TEST_F(MainFrameTest, WorksheetCommandsThroughTheMenu) {
  CMainFrame frame(app());
  CPlanDoc& doc = frame.NewDocument()->document();
  // One worksheet: nothing to select, move, delete or step to.
  for (const char* text : {"Auswählen...", "Verschieben...", "Löschen...", "Vorheriges", "Nächstes"})
    EXPECT_FALSE(frame.command(QString::fromUtf8(text))->isEnabled()) << text;
  doc::SurveyStore& store = doc.store();
  store.worksheets.push_back(std::make_unique<doc::Worksheet>(*store.worksheets.front()));
  store.worksheets.back()->setSheetDesignation("Aufriss");
  doc.WorksheetsChanged();
  EXPECT_EQ(frame.worksheetList()->count(), 2);
  EXPECT_TRUE(frame.command(QStringLiteral("Nächstes"))->isEnabled());
  EXPECT_FALSE(frame.command(QStringLiteral("Vorheriges"))->isEnabled());
  frame.command(QStringLiteral("Nächstes"))->trigger();
  EXPECT_EQ(store.IndexOf(store.currentWorksheet), 1);
  EXPECT_EQ(frame.worksheetList()->currentIndex(), 1);
  EXPECT_TRUE(frame.command(QStringLiteral("Vorheriges"))->isEnabled());
  EXPECT_FALSE(frame.command(QStringLiteral("Nächstes"))->isEnabled());
  Prompter().Script({platform::Answer::Ok});
  frame.command(QStringLiteral("Löschen..."))->trigger();
  ASSERT_EQ(store.worksheets.size(), 1u);
  EXPECT_EQ(frame.worksheetList()->count(), 1);
  EXPECT_EQ(Prompter().Texts().back(), "Soll das Arbeitsblatt Aufriss wirklich gelöscht werden?");
  EXPECT_TRUE(doc.isModified());

  // Editing the list renames the current worksheet.
  doc.setModified(false);
  QLineEdit* edit = frame.worksheetList()->lineEdit();
  edit->setText(QString(90, QChar(u'ü')));
  Q_EMIT edit->editingFinished();
  EXPECT_EQ(doc.worksheet().sheetDesignation(), std::string(80, '\xFC')) << "the first 80 characters, Windows-1252";
  EXPECT_TRUE(doc.isModified());
  EXPECT_EQ(frame.worksheetList()->itemText(0), QString(80, QChar(u'ü')));
}

TEST_F(MainFrameTest, AskingToSeeAFaultyRecordIsRememberedForTheEditor) {
  CPlanDoc doc{app()};
  doc.NewFromDefaults();
  // Below the default record, a leg from a station nothing defines.
  hp::test::AddRecords(doc.store(), "0/0/X 0/0/A 5 0 0");
  int told = 0;
  QObject::connect(&doc, &CPlanDoc::loadRequested, [&told] { ++told; });
  Prompter().Script({platform::Answer::Yes});
  doc.Compute();
  EXPECT_EQ(doc.loadRequest(), 2);
  EXPECT_EQ(told, 1);
  Prompter().Script({platform::Answer::No});
  doc.clearLoadRequest();
  doc.Compute();
  EXPECT_EQ(doc.loadRequest(), -1) << "No goes on without the editor";
  EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace hp::app
