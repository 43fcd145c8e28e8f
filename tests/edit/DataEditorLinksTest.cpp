// Opening a record's linked file or address.
#include "edit/DataEditorLinks.h"

#include <gtest/gtest.h>

#include "base/Cp1252.h"

namespace hp::edit {
namespace {

TEST(DataEditorLinksTest, WhatALinkOpens) {
  const std::filesystem::path folder = "/höhlen/kataster";
  const struct {
    const char* stored;
    const char* target;
    bool program;
  } cases[] = {
      {"www.hoehle.de/plan", "http://www.hoehle.de/plan", false},
      {"http://hoehle.de", "http://hoehle.de", false},
      {"fotos\\eingang.jpg", "/höhlen/kataster/fotos/eingang.jpg", false},
      {"Teil2.hpn", "/höhlen/kataster/Teil2.hpn", true},
      {"Teil2.HPN", "/höhlen/kataster/Teil2.HPN", true},
      {"C:\\daten\\x.txt", "C:\\daten\\x.txt", false},
      {"\\\\server\\share\\a.hpn", "\\\\server\\share\\a.hpn", true},
      {"/mnt/karten/blatt.pdf", "/mnt/karten/blatt.pdf", false},
  };
  for (const auto& c : cases) {
    const auto link = ResolveLink(base::Utf8ToCp1252(c.stored), folder);
    ASSERT_TRUE(link) << c.stored;
    EXPECT_EQ(link->target, c.target);
    EXPECT_EQ(link->startProgram, c.program) << c.stored;
  }
  EXPECT_FALSE(ResolveLink("", folder));
}

TEST(DataEditorLinksTest, DocumentsStartTheProgramOtherLinksTheOpener) {
  platform::RecordingShell shell;
  platform::ScriptedPrompter prompter;
  EXPECT_TRUE(OpenLink("Teil2.hpn", "/d", shell, prompter));
  EXPECT_TRUE(OpenLink("www.x.de", "/d", shell, prompter));
  EXPECT_FALSE(OpenLink("", "/d", shell, prompter));
  EXPECT_EQ(shell.started, std::vector<std::string>{"/d/Teil2.hpn"});
  EXPECT_EQ(shell.opened, std::vector<std::string>{"http://www.x.de"});
  EXPECT_TRUE(prompter.Texts().empty());
}

TEST(DataEditorLinksTest, AFailedOpenIsTold) {
  struct FailingShell : platform::Shell {
    bool Open(std::string_view) override { return false; }
    bool StartProgram(std::string_view) override { return false; }
  } shell;
  platform::ScriptedPrompter prompter;
  EXPECT_FALSE(OpenLink("plan.pdf", "/d", shell, prompter));
  EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"/d/plan.pdf kann nicht geöffnet werden."});
}

TEST(DataEditorLinksTest, ChooserFolderAndFilter) {
  EXPECT_EQ(ChooserFolder("", "/d"), std::filesystem::path("/d"));
  EXPECT_EQ(ChooserFolder("inc\\teil.hpn", "/d"), std::filesystem::path("/d/inc"));
  EXPECT_FALSE(ChooserFolder("www.x.de", "/d"));
  EXPECT_FALSE(ChooserFolder("HTTP://x.de", "/d"));
  EXPECT_EQ(ChooserFilter("Alle Dateien (*.*)|*.*|"), "Alle Dateien (*)");
  EXPECT_EQ(ChooserFilter("Hollowplan-Dokument (*.hpn)|*.hpn|"), "Hollowplan-Dokument (*.hpn)");
}

}  // namespace
}  // namespace hp::edit
