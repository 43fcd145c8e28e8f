#include "app/dialogs/ExportDialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStringList>
#include <QVBoxLayout>
#include <memory>
#include <system_error>
#include <vector>

#include "app/AppContext.h"
#include "app/DialogBase.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/QtText.h"
#include "base/ByteStream.h"
#include "export/ExportCommand.h"
#include "export/ExportFile.h"
#include "gfx/PictureFile.h"

namespace hp::app {
namespace {

using exports::ExportOptionsDialog;

// The save dialog and every options dialog share one page of the guide.
QString ExportPage() { return Q(exports::kExportDialogTitle); }

// The wait cursor while a file is written.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// Two radio buttons in a group; returns the group (ids 0 and 1).
QButtonGroup* AddTwoChoices(CDialogBase& dialog, QVBoxLayout* layout, const char* first, const char* second,
                            int checked) {
  auto* group = new QButtonGroup(&dialog);
  int id = 0;
  for (const char* text : {first, second}) {
    auto* button = new QRadioButton(QString::fromUtf8(text), &dialog);
    group->addButton(button, id);
    button->setChecked(id == checked);
    layout->addWidget(button);
    ++id;
  }
  if (group->checkedButton() == nullptr) group->button(0)->setChecked(true);
  return group;
}

QCheckBox* AddCheck(CDialogBase& dialog, QVBoxLayout* layout, const char* text, bool checked) {
  auto* box = new QCheckBox(QString::fromUtf8(text), &dialog);
  box->setChecked(checked);
  layout->addWidget(box);
  return box;
}

bool RunOneChoice(AppContext& app, QWidget* parent, ExportOptionsDialog which, const char* caption, const char* first,
                  const char* second) {
  platform::SettingsStore& settings = app.settings;
  CDialogBase dialog(app, parent, QString::fromUtf8(caption));
  auto* layout = new QVBoxLayout(&dialog);
  QButtonGroup* group = AddTwoChoices(dialog, layout, first, second, exports::LoadChoice(settings, which));
  layout->addWidget(dialog.AddHelpButton(dialog.MakeOkCancelButtons(), ExportPage()));
  if (dialog.exec() != QDialog::Accepted) return false;
  exports::StoreChoice(settings, which, group->checkedId());
  return true;
}

bool RunGpxOptions(AppContext& app, QWidget* parent) {
  platform::SettingsStore& settings = app.settings;
  exports::GpxOptions options;
  options.Load(settings);
  CDialogBase dialog(app, parent, QStringLiteral("GPX-Format"));
  auto* layout = new QVBoxLayout(&dialog);
  QButtonGroup* select =
      AddTwoChoices(dialog, layout, "Aktueller &Messpunkt", "&Alle beschrifteten Messpunkte", options.select);
  QCheckBox* umlauts = AddCheck(dialog, layout, "&Umlaute entfernen", options.removeUmlauts);
  auto* symbol = new QLineEdit(Q(options.symbol), &dialog);
  auto* label = new QLabel(QStringLiteral("&Wegpunktsymbol"), &dialog);
  label->setBuddy(symbol);
  layout->addWidget(label);
  layout->addWidget(symbol);
  layout->addWidget(dialog.AddHelpButton(dialog.MakeOkCancelButtons(), ExportPage()));
  if (dialog.exec() != QDialog::Accepted) return false;
  options.select = select->checkedId();
  options.removeUmlauts = umlauts->isChecked();
  options.symbol = symbol->text().toStdString();
  options.Store(settings);
  return true;
}

bool RunKmlOptions(AppContext& app, QWidget* parent) {
  platform::SettingsStore& settings = app.settings;
  exports::KmlOptions options;
  options.Load(settings);
  CDialogBase dialog(app, parent, QStringLiteral("Google Earth"));
  auto* layout = new QVBoxLayout(&dialog);
  QCheckBox* caves = AddCheck(dialog, layout, "&Höhleneingänge", options.caves);
  QCheckBox* cavePoints = AddCheck(dialog, layout, "&Punkte als Höhleneingänge", options.cavePoints);
  QCheckBox* points = AddCheck(dialog, layout, "Punkt&bezeichnung", options.points);
  QCheckBox* numbers = AddCheck(dialog, layout, "Punkt&nummerierung", options.pointNumbers);
  layout->addWidget(dialog.AddHelpButton(dialog.MakeOkCancelButtons(), ExportPage()));
  if (dialog.exec() != QDialog::Accepted) return false;
  options.caves = caves->isChecked();
  options.cavePoints = cavePoints->isChecked();
  options.points = points->isChecked();
  options.pointNumbers = numbers->isChecked();
  options.Store(settings);
  return true;
}

bool RunVrmlOptions(AppContext& app, QWidget* parent) {
  platform::SettingsStore& settings = app.settings;
  exports::VrmlOptions options;
  options.Load(settings);
  CDialogBase dialog(app, parent, QStringLiteral("VRML-Format"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout;
  auto* diameter = new QSpinBox(&dialog);
  diameter->setRange(1, 1000);
  diameter->setValue(options.diameter);
  form->addRow(QStringLiteral("Gang&durchmesser in cm, falls\nkeine Querschnitte angegeben"), diameter);
  auto* faces = new QComboBox(&dialog);
  faces->addItems(
      {QStringLiteral("4"), QStringLiteral("8"), QStringLiteral("16"), QStringLiteral("32"), QStringLiteral("64")});
  faces->setCurrentIndex(options.faces >= 0 && options.faces < faces->count() ? options.faces : 1);
  form->addRow(QString::fromUtf8("Flächen der Gangkörper"), faces);
  auto* shape = new QComboBox(&dialog);
  shape->addItems({QStringLiteral("Rechteck"), QStringLiteral("Ellipse"), QStringLiteral("Segmente")});
  shape->setCurrentIndex(options.form >= 0 && options.form < shape->count() ? options.form : 2);
  form->addRow(QString::fromUtf8("Form der Gangkörper"), shape);
  layout->addLayout(form);
  layout->addWidget(dialog.AddHelpButton(dialog.MakeOkCancelButtons(), ExportPage()));
  if (dialog.exec() != QDialog::Accepted) return false;
  options.diameter = diameter->value();
  options.faces = faces->currentIndex();
  options.form = shape->currentIndex();
  return options.Store(settings);
}

std::optional<ExportTarget> ChooseWithSaveDialog(const AppContext& app, QWidget* parent, const QString& folder,
                                                 const QString& name, int filter) {
  const std::unique_ptr<QFileDialog> dialog = MakeExportFileDialog(app, parent, folder, name, filter);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return ExportTarget{dialog->selectedFiles().front(),
                      static_cast<int>(dialog->nameFilters().indexOf(dialog->selectedNameFilter())) + 1};
}

// The export command of the window: a bitmap is the picture the view shows.
exports::ExportCommand CommandFor(AppContext& app, CPlanView* view) {
  exports::BitmapExport bitmap;
  if (view)
    bitmap = [view](const std::filesystem::path& path, platform::Prompter& prompter) {
      return gfx::ExportBitmap(path, view->viewport()->grab().toImage(), prompter);
    };
  return exports::ExportCommand(app.settings, app.prompter, std::move(bitmap));
}

// Shown when the desktop started no program for the written KML file.
std::string GoogleEarthNotOpenedText(const std::filesystem::path& file) {
  return "Die KML-Datei wurde geschrieben:\n" + file.string() +
         "\nKein Programm hat sie geöffnet. Öffnen Sie sie mit einem Programm für KML-Dateien, zum Beispiel Google "
         "Earth.";
}

}  // namespace

std::unique_ptr<QFileDialog> MakeExportFileDialog(const AppContext& app, QWidget* parent, const QString& folder,
                                                  const QString& name, int filter) {
  QStringList names;
  for (const exports::ExportFileType& type : exports::kExportFileTypes) names << Q(type.text);
  auto dialog = std::make_unique<QFileDialog>(parent, Q(exports::kExportDialogTitle), folder);
  // Qt's own dialog, since a desktop's dialog takes no button of the program.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setNameFilters(names);
  dialog->setDefaultSuffix(QStringLiteral("txt"));
  if (filter >= 1 && filter <= names.size()) dialog->selectNameFilter(names[filter - 1]);
  dialog->selectFile(name);
  if (auto* buttons = dialog->findChild<QDialogButtonBox*>()) AddHelpButton(app, buttons, ExportPage());
  return dialog;
}

bool RunExportOptions(AppContext& app, QWidget* parent, ExportOptionsDialog which) {
  switch (which) {
    case ExportOptionsDialog::None: return true;
    case ExportOptionsDialog::Dxf:
      return RunOneChoice(app, parent, which, "DXF-Format", "Standard-D&XF", "&CAD für Höhlen");
    case ExportOptionsDialog::DocumentCopy:
      return RunOneChoice(app, parent, which, "Dateien", "&Dokument unverändert speichern",
                          "&Include-Dateien integrieren");
    case ExportOptionsDialog::Table:
      return RunOneChoice(app, parent, which, "Tabellenformat", "&Ohne Include-Dateien",
                          "&Include-Dateien integrieren");
    case ExportOptionsDialog::Gpx: return RunGpxOptions(app, parent);
    case ExportOptionsDialog::Kml: return RunKmlOptions(app, parent);
    case ExportOptionsDialog::Vrml: return RunVrmlOptions(app, parent);
  }
  return false;
}

void RunExportCommand(QWidget* parent, CPlanDoc& document, CPlanView& view) {
  AppContext& app = document.app();
  platform::SettingsStore& settings = app.settings;
  const QString name = Q(exports::DefaultExportName(document.title().toStdString()));
  const QString folder = Q(exports::InitialExportFolder(document.path(), settings));
  const int preset = settings.GetInt("Settings", "SaveExtention", 0);
  const std::optional<ExportTarget> target = app.chooseExportFile
                                                 ? app.chooseExportFile(parent, folder, name, preset)
                                                 : ChooseWithSaveDialog(app, parent, folder, name, preset);
  if (!target || target->path.isEmpty()) return;
  const std::string chosen = target->path.toStdString();
  exports::RememberExportChoice(settings, target->filterIndex, chosen);

  const std::filesystem::path path = PathOf(target->path);
  exports::ExportCommand command = CommandFor(app, &view);
  if (!command.Allows(path, document.worksheet())) return;
  if (!RunExportOptions(app, parent, exports::OptionsDialogFor(exports::ExportExtension(path)))) return;
  WaitCursor wait;
  command.Run(document.store(), path, exports::ExportModes::FromSettings(settings));
}

std::filesystem::path GoogleEarthFile() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (base.isEmpty()) return {};
  const std::filesystem::path folder = PathOf(base) / "Hollowplan" / "Hollowplan 22";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder, error)) return {};
  return folder / "Hollowplan.kml";
}

void RunGoogleEarthCommand(QWidget* parent, CPlanDoc& document) {
  const std::filesystem::path file = GoogleEarthFile();
  if (file.empty()) return;
  AppContext& app = document.app();
  if (!RunExportOptions(app, parent, ExportOptionsDialog::Kml)) return;
  {
    WaitCursor wait;
    const exports::ExportModes modes{exports::TableIncludes::All, doc::WriteMode::AsRead};
    if (!CommandFor(app, nullptr).Run(document.store(), file, modes)) return;
  }
  // Without a program for KML files nothing would appear: the surveyor learns
  // where the file is, to open it by hand.
  if (!app.shell.Open(file.string())) app.prompter.Message(GoogleEarthNotOpenedText(file), platform::Icon::Exclamation);
}

}  // namespace hp::app
