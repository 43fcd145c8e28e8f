// Settings in an INI file: defaults from an empty file, values that survive
// a new start, names with blanks as the dialog positions use them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <filesystem>
#include <string>

#include "app/QtServices.h"

namespace hp::app {
namespace {

TEST(QtSettingsStoreTest, EmptyFileGivesDefaultsAndValuesSurviveARestart) {
  const QString file = QDir::tempPath() + QStringLiteral("/hp_settings_%1.ini").arg(::getpid());
  QFile::remove(file);
  QFile(file).open(QIODevice::WriteOnly);  // an empty settings file
  {
    QtSettingsStore settings(file);
    EXPECT_EQ(settings.GetInt("Settings", "Delta", 5), 5);
    EXPECT_EQ(settings.GetString("Settings", "Vorlage", ""), "");
    EXPECT_FALSE(settings.Contains("Settings", "Animation"));
    settings.SetInt("Settings", "Animation", 20);
    settings.SetInt("Dialoge", "Messzüge X", -40);
    settings.SetString("Recent File List", "File1", "/höhlen/Windloch.hpn");
    settings.Sync();
  }
  QtSettingsStore again(file);
  EXPECT_EQ(again.GetInt("Settings", "Animation", -1), 20);
  EXPECT_EQ(again.GetInt("Dialoge", "Messzüge X", -1234), -40);
  EXPECT_EQ(again.GetString("Recent File List", "File1", ""), "/höhlen/Windloch.hpn");
  // A value that is no number reads as the default.
  again.SetString("Settings", "Delta", "abc");
  EXPECT_EQ(again.GetInt("Settings", "Delta", 5), 5);
  QFile::remove(file);
}

}  // namespace
}  // namespace hp::app
