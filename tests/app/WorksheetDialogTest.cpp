// The worksheet name dialogs: OK with no name keeps the dialog open with the
// message, as for every other refused entry.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "app/AppTestSupport.h"
#include "app/dialogs/WorksheetDialogs.h"

namespace hp::app {
namespace {

using WorksheetDialog = test::AppTest;

TEST_F(WorksheetDialog, OkWithoutANameIsRefused) {
  for (auto kind : {WorksheetDialogKind::New, WorksheetDialogKind::Copy, WorksheetDialogKind::Rename}) {
    Context().prompter.Clear();
    WorksheetDialogOptions options;
    options.kind = kind;
    options.name = QStringLiteral("Plan");
    CWorksheetDialog dialog(app(), options, nullptr);
    dialog.show();
    QLineEdit* name = dialog.findChild<QLineEdit*>();
    ASSERT_NE(name, nullptr);
    name->setText(QStringLiteral("  "));
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible()) << WorksheetDialogCaption(kind).toStdString();
    EXPECT_EQ(Context().prompter.Texts(), std::vector<std::string>{"Geben Sie einen Namen für das Arbeitsblatt ein."});
    name->setText(QStringLiteral("Aufriss"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.options().name, QStringLiteral("Aufriss"));
  }
}

}  // namespace
}  // namespace hp::app
