// The survey data editor window: typing into its fields reaches the record,
// the buttons follow the model's state, and both layouts hold every field.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <memory>

#include "app/AppTestSupport.h"
#include "app/PlanDoc.h"
#include "app/dialogs/DataEditorDialog.h"
#include "support/Survey.h"

namespace hp::app {
namespace {

using edit::Button;
using edit::Field;

// Types `text` into `widget` as key presses, the way a user does.
void TypeKeys(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

class DataEditorDialogTest : public test::AppTest {
 protected:
  void SetUp() override {
    doc.NewFromDefaults();
    doc.store().records.clear();
    hp::test::AddRecords(doc.store(), "1 1\n1 2 5 0 0\n2 3 5 0 0");
  }
  // The editor window on record `number`.
  CDataEditorDialog& Open(int number) {
    dialog = std::make_unique<CDataEditorDialog>(nullptr, doc, &marked);
    dialog->editor().Open(number);
    dialog->Refresh();
    return *dialog;
  }
  QLineEdit* Edit(Field f) { return static_cast<QLineEdit*>(dialog->field(f)); }

  CPlanDoc doc{app()};
  const doc::SurveyRecord* marked = nullptr;
  std::unique_ptr<CDataEditorDialog> dialog;
};

TEST_F(DataEditorDialogTest, BothLayoutsSaveTypedNumbersWithADecimalComma) {
  for (const int small : {0, 1}) {
    Context().settings.SetInt("Settings", "SmallDisplay", small);
    Open(2);
    for (size_t i = 0; i < edit::kFieldCount; ++i)
      EXPECT_NE(dialog->field(static_cast<Field>(i))->parentWidget(), nullptr) << i;
    EXPECT_EQ(Edit(Field::Point)->text(), "2");
    QLineEdit* length = Edit(Field::Length);
    length->selectAll();
    TypeKeys(length, small ? "7,25" : "6,5");
    EXPECT_TRUE(dialog->button(Button::Cancel)->isEnabled());
    dialog->button(Button::Save)->click();
    EXPECT_EQ(doc.store().records[1]->length, small ? 7.25 : 6.5);
    EXPECT_EQ(length->text(), small ? "7,25" : "6,5");
  }
}

// Navigation, the search form (the only one where coordinates are typed,
// left with Escape), an include update without include files, and the
// empty state.
TEST_F(DataEditorDialogTest, ButtonsFollowTheEditorsState) {
  Open(1);
  for (const Button b :
       {Button::First, Button::CaveBack, Button::PassageBack, Button::PointBack, Button::Previous, Button::Ref,
        Button::Next, Button::PointForward, Button::PassageForward, Button::CaveForward, Button::Last})
    EXPECT_GT(dialog->button(b)->toolTip().size(), 8) << dialog->button(b)->text().toStdString();
  EXPECT_EQ(dialog->button(Button::CaveBack)->toolTip(), QString::fromUtf8("Zum Anfang der Höhle (zurück)"));
  EXPECT_TRUE(Edit(Field::X)->isReadOnly());
  dialog->button(Button::Search)->click();
  EXPECT_EQ(dialog->editor().mode(), edit::EditorMode::Search);
  EXPECT_FALSE(Edit(Field::X)->isReadOnly());
  EXPECT_EQ(static_cast<QComboBox*>(dialog->field(Field::Instrument))->currentIndex(), -1);
  dialog->reject();
  EXPECT_EQ(dialog->editor().mode(), edit::EditorMode::Browse);
  EXPECT_EQ(Edit(Field::Point)->text(), "1");

  dialog->button(Button::Last)->click();
  EXPECT_EQ(dialog->editor().number(), 3);
  EXPECT_EQ(Edit(Field::Point)->text(), "3");
  EXPECT_FALSE(dialog->button(Button::SearchStart)->isEnabled());
  doc.setModified(false);
  dialog->button(Button::Include)->click();
  EXPECT_EQ(Context().prompter.Texts(),
            std::vector<std::string>{"Kein Datensatz des Dokuments hat eine Include-Datei."});
  EXPECT_FALSE(doc.isModified());
  EXPECT_EQ(doc.store().records.size(), 3u);
  EXPECT_EQ(dialog->editor().number(), 3);

  doc.store().records.clear();
  dialog->editor().Reload(1);
  dialog->Refresh();
  EXPECT_FALSE(dialog->field(Field::Point)->isEnabled());
  EXPECT_TRUE(dialog->button(Button::New)->isEnabled());
  EXPECT_FALSE(dialog->button(Button::Next)->isEnabled());
}

TEST_F(DataEditorDialogTest, TabIntoAFieldSelectsItsTextSoTypingReplacesIt) {
  Open(2).show();
  QApplication::setActiveWindow(dialog.get());
  QLineEdit* length = Edit(Field::Length);
  QLineEdit* azimuth = Edit(Field::Azimuth);
  length->setFocus(Qt::OtherFocusReason);
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(length, &tab);
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), azimuth);
  EXPECT_TRUE(azimuth->hasSelectedText());
  TypeKeys(azimuth, "120");
  EXPECT_EQ(azimuth->text(), "120");
}

// Neu, Bearbeiten, Beenden: the new document's one record names no station,
// so the pass that closing runs has nothing to report and the editor closes.
using DataEditorNewDocument = test::AppTest;

TEST_F(DataEditorNewDocument, ClosesWithoutAMessage) {
  const doc::SurveyRecord* marked = nullptr;
  CPlanDoc plan{app()};
  plan.NewFromDefaults();
  plan.store().settings.computedCurrent = 0;
  CDataEditorDialog dialog(nullptr, plan, &marked);
  dialog.editor().Open(1);
  dialog.Refresh();
  QSignalSpy finished(&dialog, &QDialog::finished);
  dialog.button(Button::Close)->click();
  EXPECT_TRUE(Context().prompter.Texts().empty());
  EXPECT_EQ(finished.count(), 1);
  EXPECT_EQ(plan.store().records.size(), 1u);
  EXPECT_EQ(plan.store().settings.computedCurrent, 1);
}

TEST_F(DataEditorDialogTest, PlacingOnTheMapClosesTheEditorAndAsksTheView) {
  Open(2);
  QSignalSpy spy(&doc, &CPlanDoc::positionRequested);
  QTimer::singleShot(0, [] {
    QWidget* coordinates = QApplication::activeModalWidget();
    ASSERT_NE(coordinates, nullptr);
    auto* place = coordinates->findChild<QPushButton*>(QStringLiteral("placeOnMap"));
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->text().toStdString(), "Auf &Hollowplan Karte positionieren");
    place->click();
  });
  dialog->button(Button::Coordinates)->click();
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.first().at(0).toInt(), 2);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

}  // namespace
}  // namespace hp::app
