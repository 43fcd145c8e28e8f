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
  QLineEdit* Edit(CDataEditorDialog& dialog, Field f) { return static_cast<QLineEdit*>(dialog.field(f)); }

  CPlanDoc doc{app()};
  const doc::SurveyRecord* marked = nullptr;
};

TEST_F(DataEditorDialogTest, TypedNumbersWithADecimalCommaAreSaved) {
  CDataEditorDialog dialog(nullptr, doc, &marked);
  dialog.editor().Open(2);
  dialog.Refresh();
  EXPECT_EQ(Edit(dialog, Field::Point)->text(), "2");
  QLineEdit* length = Edit(dialog, Field::Length);
  length->selectAll();
  TypeKeys(length, "7,25");
  EXPECT_TRUE(dialog.button(Button::Cancel)->isEnabled());
  dialog.button(Button::Save)->click();
  EXPECT_EQ(doc.store().records[1]->length, 7.25);
  EXPECT_EQ(length->text(), "7,25");
}

TEST_F(DataEditorDialogTest, NavigationButtonsAndTheEmptyState) {
  CDataEditorDialog dialog(nullptr, doc, &marked);
  dialog.editor().Open(1);
  dialog.Refresh();
  dialog.button(Button::Last)->click();
  EXPECT_EQ(dialog.editor().number(), 3);
  EXPECT_EQ(Edit(dialog, Field::Point)->text(), "3");
  EXPECT_FALSE(dialog.button(Button::SearchStart)->isEnabled());

  doc.store().records.clear();
  dialog.editor().Reload(1);
  dialog.Refresh();
  EXPECT_FALSE(dialog.field(Field::Point)->isEnabled());
  EXPECT_TRUE(dialog.button(Button::New)->isEnabled());
  EXPECT_FALSE(dialog.button(Button::Next)->isEnabled());
}

TEST_F(DataEditorDialogTest, EscapeLeavesTheSearchFormAndCoordinatesAreTypedOnlyThere) {
  CDataEditorDialog dialog(nullptr, doc, &marked);
  dialog.editor().Open(1);
  dialog.Refresh();
  EXPECT_TRUE(Edit(dialog, Field::X)->isReadOnly());
  dialog.button(Button::Search)->click();
  EXPECT_EQ(dialog.editor().mode(), edit::EditorMode::Search);
  EXPECT_FALSE(Edit(dialog, Field::X)->isReadOnly());
  EXPECT_EQ(static_cast<QComboBox*>(dialog.field(Field::Instrument))->currentIndex(), -1);
  dialog.reject();
  EXPECT_EQ(dialog.editor().mode(), edit::EditorMode::Browse);
  EXPECT_EQ(Edit(dialog, Field::Point)->text(), "1");
}

TEST_F(DataEditorDialogTest, BothLayoutsHoldEveryFieldAndButton) {
  for (const int small : {0, 1}) {
    Context().settings.SetInt("Settings", "SmallDisplay", small);
    CDataEditorDialog dialog(nullptr, doc, &marked);
    dialog.editor().Open(1);
    dialog.Refresh();
    for (size_t i = 0; i < edit::kFieldCount; ++i) {
      EXPECT_NE(dialog.field(static_cast<Field>(i))->parentWidget(), nullptr);
    }
    EXPECT_EQ(dialog.button(Button::Close)->text(), "Be&enden");
    EXPECT_EQ(static_cast<QComboBox*>(dialog.field(Field::Colour))->count(), 49);
    EXPECT_EQ(static_cast<QComboBox*>(dialog.field(Field::Instrument))->itemText(0), "0: Kein Gerät");
  }
}

TEST_F(DataEditorDialogTest, TabIntoAFieldSelectsItsTextSoTypingReplacesIt) {
  CDataEditorDialog dialog(nullptr, doc, &marked);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  dialog.editor().Open(2);
  dialog.Refresh();
  QLineEdit* length = Edit(dialog, Field::Length);
  QLineEdit* azimuth = Edit(dialog, Field::Azimuth);
  length->setFocus(Qt::OtherFocusReason);
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(length, &tab);
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), azimuth);
  EXPECT_TRUE(azimuth->hasSelectedText());
  TypeKeys(azimuth, "120");
  EXPECT_EQ(azimuth->text(), "120");
}

TEST_F(DataEditorDialogTest, IncludeWithoutAnyIncludeFileSaysSoAndChangesNothing) {
  CDataEditorDialog dialog(nullptr, doc, &marked);
  dialog.editor().Open(2);
  dialog.Refresh();
  doc.setModified(false);
  Context().prompter.Clear();
  dialog.button(Button::Include)->click();
  ASSERT_EQ(Context().prompter.Texts().size(), 1u);
  EXPECT_EQ(Context().prompter.Texts()[0], "Kein Datensatz des Dokuments hat eine Include-Datei.");
  EXPECT_FALSE(doc.isModified());
  EXPECT_EQ(doc.store().records.size(), 3u);
  EXPECT_EQ(dialog.editor().number(), 2);
}

TEST_F(DataEditorDialogTest, NavigationButtonsSayWhatTheyDo) {
  CDataEditorDialog dialog(nullptr, doc, &marked);
  for (const Button b :
       {Button::First, Button::CaveBack, Button::PassageBack, Button::PointBack, Button::Previous, Button::Ref,
        Button::Next, Button::PointForward, Button::PassageForward, Button::CaveForward, Button::Last})
    EXPECT_GT(dialog.button(b)->toolTip().size(), 8) << dialog.button(b)->text().toStdString();
  EXPECT_EQ(dialog.button(Button::CaveBack)->toolTip(), QString::fromUtf8("Zum Anfang der Höhle (zurück)"));
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
  CDataEditorDialog dialog(nullptr, doc, &marked);
  dialog.editor().Open(2);
  dialog.Refresh();
  QSignalSpy spy(&doc, &CPlanDoc::positionRequested);
  QTimer::singleShot(0, [] {
    QWidget* coordinates = QApplication::activeModalWidget();
    ASSERT_NE(coordinates, nullptr);
    auto* place = coordinates->findChild<QPushButton*>(QStringLiteral("placeOnMap"));
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->text().toStdString(), "Auf &Hollowplan Karte positionieren");
    place->click();
  });
  dialog.button(Button::Coordinates)->click();
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.first().at(0).toInt(), 2);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace hp::app
