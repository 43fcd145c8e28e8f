// The document: file handling, the compute command and change notices.
#include "app/PlanDoc.h"

#include <QLocale>
#include <QScopeGuard>

#include "app/AppContext.h"
#include "app/BackgroundWork.h"
#include "base/Cp1252.h"
#include "calc/ComputeCommand.h"
#include "calc/ComputePass.h"
#include "doc/DocumentChanges.h"
#include "doc/DocumentFile.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"

namespace hp::app {

CPlanDoc::CPlanDoc(AppContext& app, QObject* parent) : QObject(parent), m_app(app) {
  m_store.SetDefaults();
  RefreshBackup();
}

CPlanDoc::~CPlanDoc() = default;

QString CPlanDoc::title() const {
  if (m_path.empty())
    return QStringLiteral("Unbenannt") + (m_untitledNumber > 0 ? QString::number(m_untitledNumber) : QString());
  return QString::fromStdString(m_path.filename().string());
}

std::filesystem::path CPlanDoc::folder() const {
  if (m_path.empty() || m_path.parent_path().empty()) return std::filesystem::current_path();
  return m_path.parent_path();
}

void CPlanDoc::setModified(bool modified) {
  m_otherChanges = modified;
  if (!modified) m_history.MarkSaved();
  UpdateModified();
}

void CPlanDoc::UpdateModified() {
  const bool modified = m_otherChanges || !m_history.AtSaved();
  if (m_modified == modified) return;
  m_modified = modified;
  Q_EMIT modifiedChanged(modified);
}

void CPlanDoc::Record(std::unique_ptr<doc::Change> step) {
  if (step == nullptr) return;
  m_history.Push(std::move(step));
  HistoryChanged();
}

void CPlanDoc::HistoryChanged() {
  UpdateModified();
  Q_EMIT historyChanged();
}

void CPlanDoc::Recorded(const std::string& name, unsigned parts, const std::function<void()>& command) {
  doc::DocumentCapture capture(m_store, parts);
  const bool otherChanges = m_otherChanges;
  const int computeRuns = m_computeRuns;
  command();
  std::unique_ptr<doc::Change> step = capture.Finish(m_store, name);
  if (step == nullptr) return;
  if (m_computeRuns != computeRuns) step->SetComputeDue();
  // What the command marked as modified is this step.
  m_otherChanges = otherChanges;
  Record(std::move(step));
}

bool CPlanDoc::Undo() { return AfterStep(m_history.Undo(m_store)); }

bool CPlanDoc::Redo() { return AfterStep(m_history.Redo(m_store)); }

bool CPlanDoc::AfterStep(const doc::Change* step) {
  if (step == nullptr) return false;
  if (step->ComputeDue()) {
    // The step holds what was entered; the computed values follow from it
    // as after any edit, without the messages the user has seen before.
    const uint32_t current = m_store.settings.currentRecordNumber;
    platform::ScriptedPrompter silent(platform::Answer::No);
    calc::RunChosenComputeCommand(m_store, silent, calc::LoadBlunderOptions(m_app.settings));
    m_store.settings.currentRecordNumber = current;
  }
  if (step->ChangesWorksheets()) {
    RefreshBackup();
    Q_EMIT worksheetsChanged();
  }
  if (step->ChangesRecords()) {
    m_shownLegs.clear();  // record positions of the records before the step
    Q_EMIT recordsReplaced();
  }
  HistoryChanged();
  UpdateAllViews();
  return true;
}

void CPlanDoc::NewFromDefaults() {
  m_history.Clear();
  m_store.SetDefaults();
  m_path.clear();
  RefreshBackup();
  Q_EMIT worksheetsChanged();
  UpdateAllViews();
}

bool CPlanDoc::NewFromTemplate(const std::filesystem::path& templatePath) {
  size_t target = 0;
  m_history.Clear();
  const doc::ReadStatus status =
      doc::LoadDocument(templatePath, m_store, doc::ReadMode::Template, target, m_app.prompter, m_app.settings);
  if (status != doc::ReadStatus::Ok) return false;
  m_path.clear();
  if (m_store.settings.computedCurrent == 0) Compute();
  RefreshBackup();
  setModified(true);
  Q_EMIT worksheetsChanged();
  UpdateAllViews();
  return true;
}

namespace {

// Files from this size on (about 11 000 records) are read in the background,
// and surveys from this many records on are computed there.
constexpr std::uintmax_t kBackgroundReadBytes = std::uintmax_t{16} << 20;
constexpr size_t kBackgroundComputeRecords = 100'000;

QString ReadingProgressText(const QString& file, uint32_t read, uint32_t expected) {
  const QLocale german(QLocale::German, QLocale::Germany);
  if (expected == 0) return QStringLiteral("%1 wird geöffnet …").arg(file);
  return QStringLiteral("%1 wird geöffnet: %2 von %3 Datensätzen gelesen (%4 %)")
      .arg(file, german.toString(read), german.toString(expected))
      .arg(static_cast<int>(100.0 * read / expected));
}

// The reader's messages while a document opens, each naming the file (the
// user may have asked for several, or started the program with one).
class FileNamingPrompter final : public platform::Prompter {
 public:
  FileNamingPrompter(platform::Prompter& to, std::string file) : m_to(to), m_file(std::move(file)) {}
  void Message(std::string_view text, platform::Icon icon) override { m_to.Message(Named(text), icon); }
  platform::Answer AskOkCancel(std::string_view text, platform::Icon icon) override {
    return m_to.AskOkCancel(Named(text), icon);
  }
  platform::Answer AskYesNoCancel(std::string_view text, platform::Icon icon) override {
    return m_to.AskYesNoCancel(Named(text), icon);
  }

 private:
  std::string Named(std::string_view text) const {
    if (text.substr(0, m_file.size()) == m_file) return std::string(text);
    return m_file + "\n" + std::string(text);
  }
  platform::Prompter& m_to;
  std::string m_file;
};

}  // namespace

bool CPlanDoc::Open(const std::filesystem::path& path) {
  size_t target = 0;
  doc::ReadReport report;
  FileNamingPrompter prompter(m_app.prompter, path.string());
  m_history.Clear();
  doc::ReadStatus status = doc::ReadStatus::InvalidFormat;
  std::error_code error;
  if (std::filesystem::file_size(path, error) < kBackgroundReadBytes || error) {
    status = doc::LoadDocument(path, m_store, doc::ReadMode::Open, target, prompter, m_app.settings, &report);
  } else {
    // The reader's thread takes the one setting it reads from a copy and its
    // messages through the program's thread.
    platform::MemorySettingsStore settings;
    settings.SetInt("Settings", "BetaOpen", m_app.settings.GetInt("Settings", "BetaOpen", 0));
    CThreadPrompter threadPrompter(prompter);
    doc::ReadProgress progress;
    const QString name = QString::fromStdString(path.filename().string());
    RunInBackground({[&] {
                       status = doc::LoadDocument(path, m_store, doc::ReadMode::Open, target, threadPrompter, settings,
                                                  &report, &progress);
                     },
                     [&] { return ReadingProgressText(name, progress.recordsRead, progress.recordsExpected); },
                     [&] { progress.cancelled = true; }, [this](const QString& text) { Q_EMIT workProgress(text); }});
  }
  if (status != doc::ReadStatus::Ok) {
    m_store.SetDefaults();
    return false;
  }
  m_path = path;
  RefreshBackup();
  if (m_store.settings.computedCurrent == 0) Compute();
  // An incomplete file's document is not what the file promised: it counts
  // as changed, so it is never silently taken as equal to its file.
  setModified(report.incomplete);
  Q_EMIT worksheetsChanged();
  UpdateAllViews();
  return true;
}

std::vector<uint8_t> CPlanDoc::Snapshot() {
  base::MemorySink sink;
  doc::WriteDocument(m_store, sink);
  return std::move(sink.data);
}

void CPlanDoc::RestoreSnapshot(const std::vector<uint8_t>& snapshot) {
  // What the failed command left goes first, so its memory is free again.
  const uint64_t generation = m_store.computeGeneration;
  m_store.records.clear();
  doc::SurveyStore restored;
  restored.SetDefaults();
  base::MemorySource source(snapshot);
  platform::ScriptedPrompter silent(platform::Answer::No);
  size_t target = 0;
  if (doc::ReadDocument(restored, source, doc::ReadMode::Open, target, silent, m_app.settings) == doc::ReadStatus::Ok)
    m_store = std::move(restored);
  // Figures derived from a compute pass belong to no record now.
  m_store.computeGeneration = generation + 1;
  m_shownLegs.clear();
  Q_EMIT worksheetsChanged();
  UpdateAllViews();
}

bool CPlanDoc::SaveAs(const std::filesystem::path& path) {
  RefreshBackup();
  if (!doc::SaveDocument(path, m_store)) {
    m_app.prompter.Message(path.string() + doc::messages::kCannotWrite, platform::Icon::Exclamation);
    return false;
  }
  m_path = path;
  setModified(false);
  m_spreadsheetExchange.DocumentSaved({m_path, title().toStdString()});
  return true;
}

bool CPlanDoc::Compute() {
  m_shownLegs.clear();
  ++m_computeRuns;
  const calc::BlunderOptions options = calc::LoadBlunderOptions(m_app.settings);
  calc::ComputeOutcome outcome;
  if (m_store.records.size() < kBackgroundComputeRecords) {
    outcome = calc::RunChosenComputeCommand(m_store, m_app.prompter, options);
  } else {
    // The views show their last picture while the pass writes the records.
    CThreadPrompter prompter(m_app.prompter);
    m_busy = true;
    const auto notBusy = qScopeGuard([this] { m_busy = false; });
    RunInBackground({[&] { outcome = calc::RunChosenComputeCommand(m_store, prompter, options); },
                     [] { return QStringLiteral("Berechnen …"); },
                     {},
                     [this](const QString& text) { Q_EMIT workProgress(text); }});
  }
  UpdateAllViews();
  if (outcome.loadRecord) RequestLoad(outcome.recordNumber);
  return !outcome.aborted && !outcome.loadRecord;
}

void CPlanDoc::RequestLoad(int number) {
  m_loadRequest = number;
  Q_EMIT loadRequested();
}

void CPlanDoc::UpdateAllViews() { Q_EMIT changed(); }

void CPlanDoc::WorksheetsChanged() {
  setModified(true);
  RefreshBackup();
  Q_EMIT worksheetsChanged();
  UpdateAllViews();
}

void CPlanDoc::RefreshBackup() {
  if (m_store.currentWorksheet == nullptr) return;
  m_backup = std::make_unique<doc::Worksheet>(*m_store.currentWorksheet);
}

}  // namespace hp::app
