// Printing from the window: pages on a PDF printer, the program's paper and
// the preview laid out on the chosen page, overviews cut by the page,
// refused page ranges and failing printers that leave the document alone,
// the page setup dialog's refused scale, and the print commands in the menus.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <regex>

#include "app/AppTestSupport.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/PlanDoc.h"
#include "app/PlanView.h"
#include "app/PrintCommands.h"
#include "app/dialogs/PageSetupDialog.h"
#include "support/Survey.h"

namespace hp::app {
namespace {

class PrintCommandsTest : public test::AppTest {
 protected:
  void SetUp() override {
    child = frame.NewDocument();
    doc::SurveyStore& store = child->document().store();
    store.records.clear();
    // 100 m east, then 150 m south, computed.
    hp::test::AddRecords(store, "- 1 @ 0 0 0 100 0 0 length=1\n- 2 @ 100 0 0 100 -150 0 length=1");
    store.settings.computedCurrent = 1;
    doc::Worksheet& ws = child->document().worksheet();
    ws.setOriginPoint("");
    ws.setScaleDenominator(500);
    ws.setAutomaticScale(0);
    ws.setPrintSubSheets(1);
    child->document().setModified(false);
  }
  // A PDF printer of A4 without margins: sheets of 80 x 120 m at 1:500.
  void ToPdf(QPrinter& printer, const QString& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  }
  static int PageCount(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) return -1;
    const std::string bytes = pdf.readAll().toStdString();
    std::smatch m;
    return std::regex_search(bytes, m, std::regex(R"(/Type /Pages[^>]*/Count (\d+))")) ? std::stoi(m[1]) : -1;
  }

  CMainFrame frame{app()};
  CChildFrame* child = nullptr;
  QTemporaryDir folder;
};

// Sub-sheets one per page, and the survey protocol of 300 legs over its own
// pages; the document stays as it was.
TEST_F(PrintCommandsTest, PagesOfSubSheetsAndOfTheProtocol) {
  CPlanDoc& doc = child->document();
  const struct {
    int displayType;
    draw::PageRequest request;
    int pages;  // -1: more than three
  } cases[] = {
      {0, {}, 4}, {0, {draw::PageChoice::Range, 2, 3}, 2}, {6, {}, -1}, {6, {draw::PageChoice::Range, 2, 3}, 2}};
  for (int i = 3; i < 300; ++i) hp::test::AddRecords(doc.store(), "- " + std::to_string(i) + " @ 0 0 0 1 1 0 length=1");
  int n = 0;
  for (const auto& c : cases) {
    doc.worksheet().setDisplayType(doc::DisplayTypeOf(c.displayType));
    const auto before = doc.worksheet().image;
    const QString file = folder.filePath(QStringLiteral("p%1.pdf").arg(++n));
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, file);
    ASSERT_TRUE(PrintWorksheet(printer, doc, child->view(), c.request)) << n;
    const int pages = PageCount(file);
    EXPECT_TRUE(c.pages < 0 ? pages > 3 : pages == c.pages) << n << ": " << pages;
    EXPECT_EQ(doc.worksheet().image, before);
  }
  EXPECT_FALSE(doc.isModified());
  EXPECT_TRUE(Context().prompter.Texts().empty());
}

// The PDF printer prints on A4 (Letter where the system's locale measures
// in US units) with margins that leave 197 x 285 mm, the page the view
// shows, and the print dialog keeps that paper.
TEST_F(PrintCommandsTest, ThePdfPrinterPrintsOnTheProgramsPaperThroughTheDialog) {
  if (QLocale::system().measurementSystem() == QLocale::ImperialUSSystem) GTEST_SKIP() << "a US locale";
  for (const bool landscape : {false, true}) {
    child->document().worksheet().setLandscape(landscape ? 1 : 0);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    PreparePrinter(printer, child->document().worksheet());
    QPrintDialog dialog(&printer);
    QTimer::singleShot(0, &dialog, &QDialog::accept);
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    const QPageLayout layout = printer.pageLayout();
    const QRectF paint = layout.paintRect(QPageLayout::Millimeter);
    EXPECT_EQ(layout.pageSize().id(), QPageSize::A4) << landscape;
    EXPECT_NEAR(paint.width(), landscape ? 285 : 197, 0.2) << landscape;
    EXPECT_NEAR(paint.height(), landscape ? 197 : 285, 0.2) << landscape;
  }
  const QPageLayout letter = ProgramPageLayout(QPageLayout::Portrait, QLocale::ImperialUSSystem);
  EXPECT_EQ(letter.pageSize().id(), QPageSize::Letter);
  EXPECT_NEAR(letter.paintRect(QPageLayout::Millimeter).width(), 202.9, 0.2);
  if (QPrinterInfo::defaultPrinter().isNull()) {
    EXPECT_EQ(DefaultPrinterPage(false), (draw::PageSizeMm{197, 285}));
  }
}

// The preview shows the pages the print gives on the same printer, and lays
// them out again on the paper and orientation chosen in it.
TEST_F(PrintCommandsTest, PreviewShowsThePagesPrintedOnTheChosenPaper) {
  CPlanDoc& doc = child->document();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  PreparePrinter(printer, doc.worksheet());
  QPrintPreviewDialog dialog(&printer);
  ShowWorksheetIn(dialog, doc, child->view());
  auto* preview = dialog.findChild<QPrintPreviewWidget*>();
  ASSERT_NE(preview, nullptr);
  // Sheets on 157 x 245 mm (A4 within its and the worksheet's margins) are
  // 70 x 120 m at 1:500: 2 x 2 for the 100 x 150 m survey.
  const struct {
    QPageSize::PageSizeId paper;
    bool landscape;
    int pages;
  } cases[] = {
      {QPageSize::A4, false, 4}, {QPageSize::A3, false, 1}, {QPageSize::A5, false, 9}, {QPageSize::A4, true, 3}};
  int n = 0;
  for (const auto& c : cases) {
    printer.setPageSize(QPageSize(c.paper));
    if (c.landscape) {
      // The preview's own orientation button (Qt's text: the tests load no
      // translation).
      QAction* landscape = nullptr;
      for (QAction* action : dialog.findChildren<QAction*>())
        if (action->text() == QStringLiteral("Landscape")) landscape = action;
      ASSERT_NE(landscape, nullptr);
      landscape->trigger();
    } else {
      preview->updatePreview();
    }
    EXPECT_EQ(preview->pageCount(), c.pages) << n;
    const QString file = folder.filePath(QStringLiteral("v%1.pdf").arg(++n));
    printer.setOutputFileName(file);
    ASSERT_TRUE(PrintWorksheet(printer, doc, child->view(), {}));
    EXPECT_EQ(PageCount(file), c.pages) << n;
  }
  EXPECT_TRUE(Context().prompter.Texts().empty());
}

// An overview larger than the page is printed cut at the margins, and the
// print says so; the preview shows it without a word.
TEST_F(PrintCommandsTest, AnOverviewCutByThePageIsReported) {
  doc::Worksheet& ws = child->document().worksheet();
  ws.setPrintSubSheets(0);
  const struct {
    double scale;
    bool preview;
    std::vector<std::string> messages;
  } cases[] = {{500, false, {std::string(draw::print::kCutAtPage)}}, {500, true, {}}, {5000, false, {}}};
  for (const auto& c : cases) {
    Context().prompter.Clear();
    ws.setScaleDenominator(c.scale);
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, folder.filePath(QStringLiteral("o.pdf")));
    ASSERT_TRUE(PrintWorksheet(printer, child->document(), child->view(), {}, c.preview));
    EXPECT_EQ(Context().prompter.Texts(), c.messages) << c.scale << " " << c.preview;
  }
}

TEST_F(PrintCommandsTest, NothingToPrintOrAFailingPrinterIsReported) {
  CPlanDoc& doc = child->document();
  const auto before = doc.worksheet().image;
  const struct {
    QString file;
    int displayType;
    draw::PageRequest request;
    std::string_view message;
    // clang-format off
  } cases[] = {
      {folder.filePath(QStringLiteral("r.pdf")), 0, {draw::PageChoice::Range, 7, 9}, draw::print::kRangeOutside},
      {folder.filePath(QStringLiteral("fehlt/f.pdf")), 0, {}, draw::print::kPrinterFailed},
      // The survey protocol of two legs has one page.
      {folder.filePath(QStringLiteral("protokoll.pdf")), 6, {draw::PageChoice::Range, 2, 4}, draw::print::kRangeOutside},
  };
  // clang-format on
  for (const auto& c : cases) {
    Context().prompter.Clear();
    doc.worksheet().setDisplayType(doc::DisplayTypeOf(c.displayType));
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, c.file);
    EXPECT_FALSE(PrintWorksheet(printer, doc, child->view(), c.request));
    EXPECT_EQ(Context().prompter.Texts(), std::vector<std::string>{std::string(c.message)});
    EXPECT_FALSE(QFile::exists(c.file));
    doc.worksheet().setDisplayType(doc::DisplayType::Plan);
    EXPECT_EQ(doc.worksheet().image, before);
    EXPECT_FALSE(doc.isModified());
  }
}

TEST_F(PrintCommandsTest, CentringTheProtocolSharesTheWidthOnly) {
  CPlanDoc& doc = child->document();
  doc.worksheet().setDisplayType(doc::DisplayType::Protocol);
  draw::PageSetupOptions o = draw::LoadPageSetup(doc.worksheet());
  o.marginLeft = o.marginTop = o.marginBottom = 5, o.marginRight = 9;
  ASSERT_FALSE(CentreOnPage(o, doc, child->view(), {400, 285}));
  EXPECT_EQ(o.marginLeft, o.marginRight);
  EXPECT_GT(o.marginLeft, 50);
  EXPECT_EQ((std::pair{o.marginTop, o.marginBottom}), (std::pair{5, 5}));
}

TEST_F(PrintCommandsTest, PageSetupRefusesABadScaleAndFocusesIt) {
  doc::Worksheet& ws = child->document().worksheet();
  CPageSetupDialog dialog(
      app(), draw::LoadPageSetup(ws), ws.displayType(), nullptr,
      [&ws](const draw::PageSetupOptions& o) { return draw::ApplyPageSetup(o, ws).fault; },
      [](draw::PageSetupOptions&) { return std::optional<base::FieldFault<draw::PageSetupField>>(); });
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  auto* scale = dialog.findChild<QComboBox*>();
  ASSERT_NE(scale, nullptr);
  scale->setEditText(QStringLiteral("1:0"));
  dialog.findChild<QSpinBox*>()->setFocus();  // the user is in a margin field
  QApplication::processEvents();
  dialog.accept();
  QApplication::processEvents();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Context().prompter.Texts(), std::vector<std::string>{std::string(draw::page::kBadScale)});
  const QWidget* focused = QApplication::focusWidget();
  EXPECT_TRUE(focused == scale || focused == scale->lineEdit());
  EXPECT_EQ(ws.scaleDenominator(), 500);
  scale->setEditText(QStringLiteral("1:250"));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(ws.scaleDenominator(), 250);
}

TEST_F(PrintCommandsTest, ClipboardGetsTheWindowsPictureOrTheProtocolsText) {
  child->view().resize(400, 300);
  QGuiApplication::clipboard()->clear();
  frame.command(QStringLiteral("Zwischenablage"))->trigger();
  const QImage picture = QGuiApplication::clipboard()->image();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), child->view().viewport()->size() * picture.devicePixelRatio());
  int dark = 0;  // the legs, drawn in black
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) dark += qGray(picture.pixel(x, y)) < 100 ? 1 : 0;
  EXPECT_GT(dark, 50);

  child->document().worksheet().setDisplayType(doc::DisplayType::Protocol);
  QGuiApplication::clipboard()->clear();
  frame.command(QStringLiteral("Zwischenablage"))->trigger();
  const QString text = QGuiApplication::clipboard()->text();
  EXPECT_EQ(text, child->view().ProtocolText());
  EXPECT_NE(text.indexOf(QStringLiteral("Datenauswertung\n")), -1) << text.toStdString();
  EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
}

TEST_F(PrintCommandsTest, ThePrintAreaIsChosenOnSubSheetsOnly) {
  frame.UpdateCommands();
  EXPECT_FALSE(frame.command(QStringLiteral("Druckbereich auswählen"))->isEnabled());
  child->document().worksheet().setShowSubSheets(1);
  frame.UpdateCommands();
  QAction* select = frame.command(QStringLiteral("Druckbereich auswählen"));
  ASSERT_TRUE(select->isEnabled());
  select->trigger();
  EXPECT_TRUE(draw::PrintAreaBit(child->document().worksheet(), 1));
  EXPECT_TRUE(child->document().isModified());
}

using CommandLinePrint = test::AppTest;

TEST_F(CommandLinePrint, OnlyThePrintVerbsAndAnUnknownPrinterIsReported) {
  EXPECT_FALSE(RunCommandLinePrint(app(), {QStringLiteral("Hoehle.hpn")}));
  EXPECT_FALSE(RunCommandLinePrint(app(), {QStringLiteral("-p")}));
  EXPECT_EQ(
      RunCommandLinePrint(app(), {QStringLiteral("-pt"), QStringLiteral("Hoehle.hpn"), QStringLiteral("KeinDrucker")}),
      std::optional<int>(1));
  EXPECT_EQ(Context().prompter.Texts(), std::vector<std::string>{"Der Drucker ist nicht vorhanden: KeinDrucker"});
}

}  // namespace
}  // namespace hp::app
