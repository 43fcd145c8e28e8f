// The choice dialogs of the import: the caption is never cut off.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "app/AppTestSupport.h"
#include "app/dialogs/ChoiceDialog.h"
#include "import/ImportCommand.h"

namespace hp::app {
namespace {

using ChoiceDialog = test::AppTest;

TEST_F(ChoiceDialog, IsWideEnoughForItsCaption) {
  for (const char* caption : {imports::texts::kTableQuestion, imports::texts::kDocumentQuestion}) {
    const QString title = QString::fromUtf8(caption);
    CChoiceDialog dialog(app(), nullptr, title, {QStringLiteral("&A"), QStringLiteral("&B")}, 0);
    EXPECT_GT(dialog.minimumWidth(), dialog.fontMetrics().horizontalAdvance(title) + 100) << caption;
  }
}

}  // namespace
}  // namespace hp::app
