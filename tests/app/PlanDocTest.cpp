// Opening documents in the windows: a document read from an incomplete file
// counts as changed, so closing it asks before anything is lost for good; a
// large one is read and drawn in the background, telling how far it is.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "app/AppTestSupport.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "doc/DocumentFile.h"

namespace hp::app {
namespace {

namespace fs = std::filesystem;

using PlanDocOpen = test::AppTest;

TEST_F(PlanDocOpen, IncompleteFileOpensChangedWithItsMessage) {
  const fs::path folder = fs::temp_directory_path() / ("hp_plandoc_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  doc::SurveyStore store;
  store.SetDefaults();
  store.settings.computedCurrent = 1;
  const fs::path whole = folder / "ganz.hpn", cut = folder / "kurz.hpn";
  ASSERT_TRUE(doc::SaveDocument(whole, store));
  fs::copy_file(whole, cut);
  fs::resize_file(cut, fs::file_size(whole) - 100);

  const struct {
    fs::path path;
    bool modified;
    std::vector<std::string> messages;
    // clang-format off
  } cases[] = {
      {whole, false, {}},
      {cut, true,
       {cut.string() + "\nDie Datei ist unvollständig: dem letzten Datensatz fehlt sein Ende; die fehlenden Angaben "
                       "bleiben leer."}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.filename().string());
    Context().prompter.Clear();
    CPlanDoc document{app()};
    ASSERT_TRUE(document.Open(c.path));
    EXPECT_EQ(document.isModified(), c.modified);
    EXPECT_EQ(document.store().records.size(), 1u);
    EXPECT_EQ(Context().prompter.Texts(), c.messages);
  }
  fs::remove_all(folder);
}

// 50 000 records: the file is read on a thread of its own and the plan is
// drawn on one, the status line counting the records and telling of the
// drawing; Esc while the records are read stops the opening without a word.
TEST_F(PlanDocOpen, LargeDocumentOpensAndDrawsInTheBackground) {
  constexpr size_t kRecords = 50'000;
  const fs::path folder = fs::temp_directory_path() / ("hp_plandoc_large_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  {
    doc::SurveyStore store;
    store.SetDefaults();
    store.settings.computedCurrent = 1;
    for (size_t i = 1; i < kRecords; ++i) {
      auto record = std::make_unique<doc::SurveyRecord>(*store.records.back());
      std::snprintf(record->refPoint, sizeof record->refPoint, "%zu", i - 1);
      std::snprintf(record->point, sizeof record->point, "%zu", i);
      record->refX = record->x, record->refY = record->y;
      record->x += static_cast<double>(i % 7), record->y += static_cast<double>(i % 5);
      store.records.push_back(std::move(record));
    }
    ASSERT_TRUE(doc::SaveDocument(folder / "gross.hpn", store));
    fs::copy_file(folder / "gross.hpn", folder / "abbrechen.hpn");
  }
  CMainFrame frame(app());
  frame.show();
  std::set<QString> shown;
  bool escape = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, &frame, [&] {
    shown.insert(frame.statusLine());
    if (escape && frame.statusLine().startsWith(QStringLiteral("abbrechen.hpn wird geöffnet"))) {
      escape = false;
      QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(&frame, &key);
    }
  });
  watch.start(1);

  ASSERT_TRUE(frame.OpenDocument(folder / "gross.hpn"));
  CPlanView* view = frame.activeView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->document().store().records.size(), kRecords);
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->pictureCurrent() && view->lastDrawing().drawn; }, 20'000));
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const QString& text) {
    return text.startsWith(QStringLiteral("gross.hpn wird geöffnet"));
  }));
  EXPECT_EQ(shown.count(QStringLiteral("Zeichnen …")), 1u);

  escape = true;
  EXPECT_FALSE(frame.OpenDocument(folder / "abbrechen.hpn"));
  EXPECT_EQ(frame.children().size(), 1u);
  EXPECT_TRUE(Context().prompter.Texts().empty());
  watch.stop();
  frame.close();
  fs::remove_all(folder);
}

}  // namespace
}  // namespace hp::app
