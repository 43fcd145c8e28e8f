// Opening documents in the windows: a document read from an incomplete file
// counts as changed, so closing it asks before anything is lost for good.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/AppTestSupport.h"
#include "app/PlanDoc.h"
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

}  // namespace
}  // namespace hp::app
