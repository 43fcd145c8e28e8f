// The main window's documents: new from a template, open (also from the
// recent files and by dropping), save, and the import into the active one.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "app/AppContext.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/MenuText.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/QtText.h"
#include "app/dialogs/ChoiceDialog.h"
#include "doc/DocumentChanges.h"
#include "import/DocumentImport.h"
#include "import/ImportCommand.h"

namespace hp::app {
namespace {

constexpr const char* kRecentSection = "Recent File List";
constexpr int kRecentFiles = 9;
constexpr const char* kDocumentFilter = "Hollowplan-Dokument (*.hpn)";

}  // namespace

CChildFrame* CMainFrame::NewDocument() {
  auto doc = std::make_unique<CPlanDoc>(m_app);
  auto* child = new CChildFrame(std::move(doc), [this](CPlanDoc& d) { return QuerySave(d); });
  AddChild(child);
  return child;
}

bool CMainFrame::OpenDocument(const std::filesystem::path& path) {
  // A document already open comes to the front instead of opening twice.
  for (CChildFrame* child : children()) {
    std::error_code error;
    if (!child->document().path().empty() && std::filesystem::equivalent(child->document().path(), path, error)) {
      m_mdi->setActiveSubWindow(child);
      return true;
    }
  }
  auto doc = std::make_unique<CPlanDoc>(m_app);
  connect(doc.get(), &CPlanDoc::workProgress, this, &CMainFrame::ShowWorkProgress);
  const bool opened = doc->Open(path);
  doc->disconnect(this);
  if (!opened) return false;
  AddChild(new CChildFrame(std::move(doc), [this](CPlanDoc& d) { return QuerySave(d); }));
  RememberRecentFile(path);
  return true;
}

void CMainFrame::OpenStartDocuments(const QStringList& files) {
  for (const QString& file : files) Guarded([&] { OpenDocument(PathOf(file)); });
}

void CMainFrame::UpdateRecentFiles() {
  m_recentMenu->clear();
  int shown = 0;
  for (int i = 1; i <= kRecentFiles; ++i) {
    const std::string file = m_app.settings.GetString(kRecentSection, "File" + std::to_string(i), "");
    if (file.empty()) continue;
    const QString path = Q(file);
    QAction* item = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(++shown).arg(path));
    connect(item, &QAction::triggered, this, [this, path] {
      Guarded([&] {
        if (!OpenDocument(PathOf(path))) UpdateRecentFiles();
      });
    });
  }
  m_recentMenu->setEnabled(shown > 0);
}

void CMainFrame::RememberRecentFile(const std::filesystem::path& path) {
  auto& settings = m_app.settings;
  std::error_code error;
  const std::string full = std::filesystem::absolute(path, error).lexically_normal().string();
  std::vector<std::string> files{full};
  for (int i = 1; i <= kRecentFiles; ++i) {
    const std::string file = settings.GetString(kRecentSection, "File" + std::to_string(i), "");
    if (!file.empty() && file != full) files.push_back(file);
  }
  files.resize(std::min<size_t>(files.size(), kRecentFiles));
  for (size_t i = 0; i < files.size(); ++i)
    settings.SetString(kRecentSection, "File" + std::to_string(i + 1), files[i]);
  UpdateRecentFiles();
}

bool CMainFrame::QuerySave(CPlanDoc& document) {
  if (!document.isModified()) return true;
  const std::string text = "Änderungen in " + document.title().toStdString() + " speichern?";
  switch (m_app.prompter.AskYesNoCancel(text, platform::Icon::Exclamation)) {
    case platform::Answer::Yes: return Save(document, false);
    case platform::Answer::No: return true;
    default: return false;
  }
}

bool CMainFrame::Save(CPlanDoc& document, bool askName) {
  std::filesystem::path path = document.path();
  if (askName || path.empty()) {
    const QString start = path.empty() ? document.title() + QStringLiteral(".hpn") : Q(path.string());
    QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Speichern unter"), start,
                                                  QString::fromUtf8(kDocumentFilter));
    if (chosen.isEmpty()) return false;
    if (!chosen.endsWith(QStringLiteral(".hpn"), Qt::CaseInsensitive)) chosen += QStringLiteral(".hpn");
    path = PathOf(chosen);
  }
  if (!document.SaveAs(path)) return false;
  RememberRecentFile(path);
  for (CChildFrame* child : children())
    if (&child->document() == &document) child->UpdateCaption();
  return true;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) OpenDocument(PathOf(url.toLocalFile()));
  event->acceptProposedAction();
}

void CMainFrame::OnFileNew() {
  auto& settings = m_app.settings;
  std::string start = settings.GetString(kSettings, "Vorlage", "");
  if (start.empty()) start = (m_app.programFolder / "Vorlage.hpn").string();
  QFileDialog dialog(this, QStringLiteral("Hollowplan-Vorlage öffnen"), Q(start),
                     QStringLiteral("Hollowplan-Vorlage (*.hpn)"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("hpn"));
  dialog.selectFile(Q(start));
  auto doc = std::make_unique<CPlanDoc>(m_app);
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    const QString chosen = dialog.selectedFiles().front();
    if (chosen.right(3).toLower() == QStringLiteral("hpn") && !doc->NewFromTemplate(PathOf(chosen))) return;
    settings.SetString(kSettings, "Vorlage", chosen.toStdString());
    doc->setModified(true);
  } else {
    doc->NewFromDefaults();
  }
  AddChild(new CChildFrame(std::move(doc), [this](CPlanDoc& d) { return QuerySave(d); }));
}

void CMainFrame::OnFileOpen() {
  const QString file =
      QFileDialog::getOpenFileName(this, QStringLiteral("Öffnen"), QString(),
                                   QString::fromUtf8(kDocumentFilter) + QStringLiteral(";;Alle Dateien (*)"));
  if (!file.isEmpty()) OpenDocument(PathOf(file));
}

void CMainFrame::OnImport() {
  WithDocumentKept([this](CPlanDoc& doc, CPlanView& view) {
    imports::ImportCommand command(m_app.settings);
    const std::vector<std::string> filters = FileDialogFilters(imports::texts::kFilter);
    QStringList names;
    for (const std::string& f : filters) names << Q(f);
    QFileDialog dialog(this, Q(imports::texts::kDialogTitle), Q(command.StartFolder(doc.folder()).string()));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(names);
    const int preset = command.FileTypePreset();
    if (preset >= 1 && preset <= names.size()) dialog.selectNameFilter(names[preset - 1]);
    dialog.selectFile(Q(imports::ImportCommand::ProposedFileName(doc.title().toStdString())));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::filesystem::path file = PathOf(dialog.selectedFiles().front());
    command.RememberFile(file, static_cast<int>(names.indexOf(dialog.selectedNameFilter())) + 1);
    const auto question = imports::ImportCommand::QuestionFor(file, doc.store());
    int choice = 0;
    if (question != imports::ImportCommand::Question::None) {
      const bool document = question == imports::ImportCommand::Question::DocumentParts;
      QStringList choices;
      if (document) {
        for (const char* c : imports::texts::kDocumentChoices) choices << QString::fromUtf8(c);
      } else {
        for (const char* c : imports::texts::kTableChoices) choices << QString::fromUtf8(c);
      }
      const char* caption = document ? imports::texts::kDocumentQuestion : imports::texts::kTableQuestion;
      choice = AskChoice(m_app, this, QString::fromUtf8(caption), choices, command.ChoicePreset(question));
      if (choice < 0) return;
    }
    bool imported = false;
    doc.Recorded(doc::ImportName(file.filename().string()),
                 doc::DocumentCapture::kRecords | doc::DocumentCapture::kWorksheets, [&] {
                   imported = command.Run(doc.store(), file, question, choice, doc.folder(), m_app.prompter);
                   if (imported) doc.WorksheetsChanged();
                 });
    if (!imported) return;
    view.ResetBackgroundMap();
    doc.RecordsReplaced();
    if (command.outcome().loadRecord) doc.RequestLoad(command.outcome().recordNumber);
  });
}

void CMainFrame::OnUpdateIncludes() {
  WithDocumentKept([](CPlanDoc& doc, CPlanView&) {
    doc.Recorded(doc::steps::kUpdateIncludes, doc::DocumentCapture::kRecords, [&doc] {
      imports::UpdateIncludes(doc.store(), doc.folder(), doc.app().prompter, doc.app().settings);
      doc.setModified();
    });
    doc.UpdateAllViews();
  });
}

}  // namespace hp::app
