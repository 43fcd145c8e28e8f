// The export commands of the windows: the chosen file, the remembered folder
// and file type, the options dialogs and what they store, the refusals, and
// the Google Earth file handed to the desktop.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/AppTestSupport.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/dialogs/ExportDialogs.h"
#include "export/ExportFile.h"
#include "support/TempFolder.h"

namespace hp::app {
namespace {

namespace fs = std::filesystem;

// Works on the next modal dialog, then closes it with OK (or Cancel).
void OnNextDialog(std::function<void(QDialog&)> edit, bool accept = true) {
  QTimer::singleShot(0, [edit = std::move(edit), accept] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr) << "no options dialog opened";
    edit(*dialog);
    if (accept) dialog->accept();
    else dialog->reject();
  });
}

class ExportCommandTest : public test::AppTest {
 protected:
  platform::MemorySettingsStore& Settings() { return Context().settings; }
  // The save dialog answers with `name` in the test folder and filter `filter`.
  void Choose(const std::string& name, int filter) {
    app().chooseExportFile = [this, name, filter](QWidget*, const QString&, const QString&, int) {
      return std::optional<ExportTarget>(ExportTarget{QString::fromStdString((m_folder / name).string()), filter});
    };
  }
  hp::test::TempFolder m_folder{"hp_app_export"};
};

TEST_F(ExportCommandTest, TableExportRemembersTheChoiceAndStoresTheIncludeMode) {
  CMainFrame frame(app());
  frame.NewDocument();
  Choose("Höhle.TXT", 9);
  OnNextDialog([](QDialog& dialog) { dialog.findChildren<QRadioButton*>().at(1)->setChecked(true); });
  QAction* command = frame.command(QStringLiteral("Exportieren..."));
  ASSERT_NE(command, nullptr);
  ASSERT_TRUE(command->isEnabled());
  command->trigger();
  EXPECT_EQ(Settings().GetString("Settings", "ExportDir", ""), m_folder.path().string());
  EXPECT_EQ(Settings().GetInt("Settings", "ExportTAB", -1), 1);
  const std::string text = hp::test::ReadFile(m_folder / "Höhle.TXT");
  EXPECT_NE(text.find("Koordinatenreferenz"), std::string::npos) << "the default record in the table";
  EXPECT_TRUE(Context().prompter.Texts().empty());
}

TEST_F(ExportCommandTest, ABitmapIsThePictureTheViewShows) {
  CMainFrame frame(app());
  frame.resize(800, 600);
  frame.show();
  CChildFrame* child = frame.NewDocument();
  Choose("plan.bmp", 1);
  frame.command(QStringLiteral("Exportieren..."))->trigger();
  const std::string bytes = hp::test::ReadFile(m_folder / "plan.bmp");
  ASSERT_GT(bytes.size(), 54u);
  uint32_t width = 0;  // little-endian at offset 18 of the header
  for (size_t i = 21; i >= 18; --i) width = (width << 8) | static_cast<uint8_t>(bytes[i]);
  EXPECT_EQ(width, static_cast<uint32_t>(child->view().viewport()->width()));

  // Without records there is nothing to export.
  child->document().store().records.clear();
  frame.UpdateCommands();
  EXPECT_FALSE(frame.command(QStringLiteral("Exportieren..."))->isEnabled());
}

TEST_F(ExportCommandTest, TheSaveDialogStartsWithTheFileTypeAndFolderOfTheLastExport) {
  CMainFrame frame(app());
  frame.NewDocument();
  Settings().SetString("Settings", "ExportDir", m_folder.path().string());
  Settings().SetInt("Settings", "SaveExtention", 7);
  const fs::path target = m_folder / "karte.ovl";
  OnNextDialog([&target](QDialog& dialog) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(files->selectedNameFilter(), QStringLiteral("Overlay (*.ovl)"));
    EXPECT_EQ(files->directory().absolutePath().toStdString(), target.parent_path().string());
    files->selectFile(QString::fromStdString(target.string()));
  });
  frame.command(QStringLiteral("Exportieren..."))->trigger();
  EXPECT_TRUE(fs::exists(target));
  EXPECT_EQ(Settings().GetInt("Settings", "SaveExtention", -1), 7);
}

TEST_F(ExportCommandTest, RefusedOrCancelledExportsWriteNothing) {
  struct Case {
    const char* file;
    int displayType;
    bool cancelOptions;
    std::string_view message;  // empty: none
  };
  const Case cases[] = {
      {"a.hvw", 0, false, exports::messages::kOnlyAnimation},
      {"a.wrl", 1, false, exports::messages::kOnlyAnimation},
      {"a.dxf", 0, true, {}},
      {"a.gpx", 0, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Context().prompter.Clear();
    Settings() = platform::MemorySettingsStore();
    CMainFrame frame(app());
    frame.NewDocument()->document().worksheet().setDisplayType(doc::DisplayTypeOf(c.displayType));
    Choose(c.file, 3);
    if (c.cancelOptions) OnNextDialog([](QDialog&) {}, false);
    frame.command(QStringLiteral("Exportieren..."))->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(fs::exists(m_folder / c.file));
    EXPECT_EQ(Settings().GetString("Settings", "ExportDir", ""), m_folder.path().string())
        << "remembered before the check";
    EXPECT_FALSE(Settings().Contains("Settings", "DXFFormat"));
    EXPECT_FALSE(Settings().Contains("Settings", "GPXSymbol"));
    const auto texts = Context().prompter.Texts();
    if (c.message.empty()) {
      EXPECT_TRUE(texts.empty());
    } else {
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(texts[0], c.message);
    }
  }
}

TEST_F(ExportCommandTest, OptionsDialogsStoreWhatWasChosen) {
  OnNextDialog([](QDialog& dialog) {
    dialog.findChildren<QRadioButton*>().at(1)->setChecked(true);
    dialog.findChild<QCheckBox*>()->setChecked(false);
    dialog.findChild<QLineEdit*>()->clear();
  });
  ASSERT_TRUE(RunExportOptions(app(), nullptr, exports::ExportOptionsDialog::Gpx));
  EXPECT_EQ(Settings().GetInt("Settings", "GPXSelect", -1), 1);
  EXPECT_EQ(Settings().GetInt("Settings", "GPXUmlaute", -1), 0);
  EXPECT_EQ(Settings().GetString("Settings", "GPXSymbol", ""), "Waypoint") << "an empty symbol";

  Settings().SetInt("Settings", "VRML_Flaechen", 3);
  OnNextDialog([](QDialog& dialog) {
    EXPECT_EQ(dialog.findChildren<QComboBox*>().at(0)->currentText(), QStringLiteral("32"));
    dialog.findChild<QSpinBox*>()->setValue(250);
    dialog.findChildren<QComboBox*>().at(1)->setCurrentIndex(0);
  });
  ASSERT_TRUE(RunExportOptions(app(), nullptr, exports::ExportOptionsDialog::Vrml));
  EXPECT_EQ(Settings().GetInt("Settings", "VRML_Durchmesser", -1), 250);
  EXPECT_EQ(Settings().GetInt("Settings", "VRML_Form", -1), 0);

  OnNextDialog([](QDialog& dialog) { dialog.findChildren<QRadioButton*>().at(1)->setChecked(true); });
  ASSERT_TRUE(RunExportOptions(app(), nullptr, exports::ExportOptionsDialog::Dxf));
  EXPECT_EQ(Settings().GetInt("Settings", "DXFFormat", -1), 1);
}

TEST_F(ExportCommandTest, GoogleEarthWritesTheKmlAndOpensIt) {
  QStandardPaths::setTestModeEnabled(true);
  CMainFrame frame(app());
  frame.NewDocument();
  QAction* command = frame.command(QStringLiteral("Export nach Google Earth"));
  ASSERT_NE(command, nullptr);
  OnNextDialog([](QDialog&) {}, false);
  command->trigger();
  EXPECT_TRUE(Context().shell.opened.empty()) << "cancelled";

  const fs::path file = GoogleEarthFile();
  // A desktop with a program for KML files opens it without a word; one
  // without says where the file is.
  const std::vector<std::string> without = {"Die KML-Datei wurde geschrieben:\n" + file.string() +
                                            "\nKein Programm hat sie ge\xC3\xB6"
                                            "ffnet. \xC3\x96"
                                            "ffnen Sie sie mit einem Programm f\xC3\xBCr KML-Dateien, "
                                            "zum Beispiel Google Earth."};
  for (const bool opens : {true, false}) {
    SCOPED_TRACE(opens);
    fs::remove(file);
    Context().shell.opened.clear();
    Context().shell.opens = opens;
    Context().prompter.Clear();
    OnNextDialog([](QDialog& dialog) { dialog.findChildren<QCheckBox*>().at(2)->setChecked(true); });
    command->trigger();
    EXPECT_EQ(Settings().GetInt("Settings", "GEPoint", -1), 1);
    EXPECT_EQ(Context().shell.opened, std::vector<std::string>{file.string()});
    EXPECT_EQ(hp::test::ReadFile(file).rfind("<?xml", 0), 0u);
    EXPECT_EQ(Context().prompter.Texts(), opens ? std::vector<std::string>{} : without);
  }
  QStandardPaths::setTestModeEnabled(false);
  EXPECT_EQ(file.filename(), "Hollowplan.kml");
  EXPECT_EQ(file.parent_path().filename(), "Hollowplan 22");
  fs::remove_all(file.parent_path().parent_path());
}

}  // namespace
}  // namespace hp::app
