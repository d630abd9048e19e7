#include "mainUnit.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "DemoConfig.h"
#include "DemoFormParts.h"
#include "LinkLabel.h"
#include "LocalDocuments.h"

namespace Kel {

QPointer<TMainForm> MainForm;

namespace {

constexpr int kMainClientWidth = 721;
constexpr int kMainClientHeight = 420;
constexpr int kBottomPanelHeight = 34;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 25;
constexpr int kLongLabelWidth = 330;

const char* const kFBoxIntroText =
    "Kel Sievra is a filter-condition editor for database applications. Every line of it reads "
    "like a sentence, for example \"Category is (exactly) 'Shark' or\", and every part of the "
    "sentence - the field, the operation, the values and the connector to the next line - is a "
    "link that opens a small chooser: a list, a calendar, a calculator or a lookup list.\n\n"
    "Users add, delete, indent and drag conditions; indented lines form bracketed groups. The "
    "built-in filter builder turns the list into the filter of a table or into a whole SQL "
    "statement of a query after every change, and reads a filter text back into conditions.\n\n"
    "Condition lists can be saved to files, kept in named memory slots and remembered in the "
    "registry between runs.";

const char* const kCalendarIntroText =
    "Kel Calendar is a multi-month calendar control. It shows as many months as fit its size and "
    "selects single dates, free sets of dates, ranges that grow week by week, or whole weeks, "
    "within limits that you set.\n\n"
    "Its popup version picks a date, a time or both for edit fields, grid cells and the date "
    "values of the filter editor.";

// The short labels beside the buttons; "\r\n" marks their line breaks.
const char* const kFBoxDemoText =
    "Demonstrates Sievra integration\r\nwith TTable (changes Filter) and \r\nTQuery (changes SQL). "
    "Also \r\ndemonstrates usage of \r\nTKelExprEval for searching of the\r\nrecords and  "
    "TKelGridColors to \r\ncolor grid cellsdepending from the \r\nfilter condition.";
const char* const kCalendDemoText = "Demonstrates features of the \r\nincluded calendar control";
const char* const kOtherDemoText = "Button panel and calculator \r\ncontrols demo";
const char* const kProDemoText =
    "DB-aware calendar and Pro version\r\nof calendar with many advanced \r\nfeatures";

const char* const kHomeLinkText = "Visit the Kel home page";

const QColor kNavy(0x00, 0x00, 0x80);

QString LabelText(const char* text) {
  return QString::fromLatin1(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
  auto* label = new QLabel(LabelText(text), parent);
  label->setObjectName(QLatin1String(name));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QLabel* MakeLongLabel(QWidget* parent, const char* name, const char* text) {
  QLabel* label = MakeLabel(parent, name, text);
  label->setWordWrap(true);
  label->setFixedWidth(kLongLabelWidth);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
  QPushButton* button = MakeNamedButton(parent, name, caption);
  button->setFixedSize(kButtonWidth, kButtonHeight);
  return button;
}

// One short label with its button to the right, both aligned at the top of their row.
void AddLabelledButton(QGridLayout* grid, int row, QLabel* label, QPushButton* button) {
  grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignTop);
  grid->addWidget(button, row, 1, Qt::AlignRight | Qt::AlignTop);
}

// The layout shared by both tab pages: the long label on the left, the labelled buttons on the
// right, and the document and ordering buttons at the bottom right.
QGridLayout* BuildTabSheetLayout(QWidget* sheet, QLabel* longLabel, QPushButton* readMore,
                                 QPushButton* registerOnline) {
  auto* root = new QHBoxLayout(sheet);
  root->setContentsMargins(12, 12, 12, 10);
  root->setSpacing(24);
  auto* left = new QVBoxLayout;
  left->addWidget(longLabel);
  left->addStretch(1);
  root->addLayout(left);

  auto* right = new QVBoxLayout;
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(16);
  grid->setVerticalSpacing(14);
  grid->setColumnStretch(0, 1);
  right->addLayout(grid);
  right->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(16);
  bottom->addStretch(1);
  bottom->addWidget(readMore);
  bottom->addWidget(registerOnline);
  right->addLayout(bottom);
  root->addLayout(right, 1);
  return grid;
}

}  // namespace

TMainForm::TMainForm(TFormOwner& formOwner, QWidget* parent)
    : QWidget(parent),
      formOwner_(formOwner),
      urlOpener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Main Demo"));
  SetFormFont(this, 11);
  for (const TDemoWindowInfo& info : DemoWindows()) {
    factories_[static_cast<size_t>(info.which)] = info.create;
  }

  PageControl1 = new QTabWidget(this);
  PageControl1->setAccessibleName(QStringLiteral("Components"));
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  BuildFBoxTabSheet();
  BuildCalendarTabSheet();
  BuildBottomPanel();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(PageControl1, 1);
  layout->addWidget(Panel2);

  HideCalendarTabSheet();
  resize(kMainClientWidth, kMainClientHeight);
  CenterOnScreen(this);
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildFBoxTabSheet() {
  FBoxTabSheet = new QWidget;
  FBoxTabSheet->setObjectName(QStringLiteral("FBoxTabSheet"));
  auto* readMore = MakeButton(FBoxTabSheet, "ReadMoreButton", "Read more");
  auto* registerOnline = MakeButton(FBoxTabSheet, "RegisterButton", "Register online");
  QGridLayout* grid =
      BuildTabSheetLayout(FBoxTabSheet, MakeLongLabel(FBoxTabSheet, "Label1", kFBoxIntroText),
                          readMore, registerOnline);

  auto* fboxDemo = MakeButton(FBoxTabSheet, "FBoxButton", "Sievra Demo");
  auto* calendDemo = MakeButton(FBoxTabSheet, "CalendDemoButton", "Calendar Demo");
  auto* otherDemo = MakeButton(FBoxTabSheet, "OtherCompsDemoButton", "Other Demo");
  AddLabelledButton(grid, 0, MakeLabel(FBoxTabSheet, "Label2", kFBoxDemoText), fboxDemo);
  AddLabelledButton(grid, 1, MakeLabel(FBoxTabSheet, "Label4", kCalendDemoText), calendDemo);
  AddLabelledButton(grid, 2, MakeLabel(FBoxTabSheet, "Label5", kOtherDemoText), otherDemo);

  connect(fboxDemo, &QPushButton::clicked, this, &TMainForm::FBoxButtonClick);
  connect(calendDemo, &QPushButton::clicked, this, &TMainForm::CalendDemoButtonClick);
  connect(otherDemo, &QPushButton::clicked, this, &TMainForm::OtherCompsDemoButtonClick);
  connect(readMore, &QPushButton::clicked, this, &TMainForm::ReadMoreButtonClick);
  connect(registerOnline, &QPushButton::clicked, this, &TMainForm::RegisterButtonClick);
  PageControl1->addTab(FBoxTabSheet, QStringLiteral("Kel Sievra"));
}

void TMainForm::BuildCalendarTabSheet() {
  CalendarTabSheet = new QWidget;
  CalendarTabSheet->setObjectName(QStringLiteral("CalendarTabSheet"));
  auto* readMore = MakeButton(CalendarTabSheet, "Button4", "Read more");
  auto* registerOnline = MakeButton(CalendarTabSheet, "Button5", "Register online");
  QGridLayout* grid = BuildTabSheetLayout(
      CalendarTabSheet, MakeLongLabel(CalendarTabSheet, "Label9", kCalendarIntroText), readMore,
      registerOnline);

  auto* calendDemo = MakeButton(CalendarTabSheet, "Button1", "Calendar Demo");
  auto* otherDemo = MakeButton(CalendarTabSheet, "Button2", "Other Comps Demo");
  auto* proDemo = MakeButton(CalendarTabSheet, "Button3", "Calendar Pro Demo");
  AddLabelledButton(grid, 0, MakeLabel(CalendarTabSheet, "Label6", kCalendDemoText), calendDemo);
  AddLabelledButton(grid, 1, MakeLabel(CalendarTabSheet, "Label7", kOtherDemoText), otherDemo);
  AddLabelledButton(grid, 2, MakeLabel(CalendarTabSheet, "Label8", kProDemoText), proDemo);

  // The Pro demonstration is not part of this program: its button does nothing.
  connect(calendDemo, &QPushButton::clicked, this, &TMainForm::CalendDemoButtonClick);
  connect(otherDemo, &QPushButton::clicked, this, &TMainForm::OtherCompsDemoButtonClick);
  connect(readMore, &QPushButton::clicked, this, &TMainForm::Button4Click);
  connect(registerOnline, &QPushButton::clicked, this, &TMainForm::RegisterButtonClick);
  PageControl1->addTab(CalendarTabSheet, QStringLiteral("Kel Calendar"));
}

void TMainForm::BuildBottomPanel() {
  Panel2 = new QFrame(this);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setFrameShape(QFrame::NoFrame);
  Panel2->setFixedHeight(kBottomPanelHeight);

  Label3 = new TLinkLabel(QLatin1String(kHomeLinkText), Panel2);
  Label3->setObjectName(QStringLiteral("Label3"));
  QFont linkFont(QStringLiteral("Arial"));
  linkFont.setPixelSize(16);
  linkFont.setBold(true);
  linkFont.setUnderline(true);
  Label3->setFont(linkFont);
  QPalette palette = Label3->palette();
  palette.setColor(QPalette::WindowText, kNavy);
  Label3->setPalette(palette);
  Label3->OnClick = [this](TLinkLabel*) { Label3Click(); };

  auto* layout = new QHBoxLayout(Panel2);
  layout->setContentsMargins(12, 0, 12, 0);
  layout->addWidget(Label3, 0, Qt::AlignLeft | Qt::AlignVCenter);
  layout->addStretch(1);
}

void TMainForm::HideCalendarTabSheet() {
  // Hidden and disabled in the tab bar: Ctrl+Tab and the arrow keys skip disabled tabs, and a
  // hidden tab cannot be clicked. The page itself stays enabled, so its buttons work when driven.
  const int index = PageControl1->indexOf(CalendarTabSheet);
  PageControl1->setTabVisible(index, false);
  PageControl1->tabBar()->setTabEnabled(index, false);
  PageControl1->setCurrentWidget(FBoxTabSheet);
}

QWidget* TMainForm::ShowDemoWindow(TDemoWindow which) {
  QPointer<QWidget>& reference = *DemoWindowInfo(which).reference;
  if (!reference) {
    const TFormFactory& create = factories_[static_cast<size_t>(which)];
    if (!create) return nullptr;
    reference = formOwner_.Adopt(create());
    // Only the main window's closing ends the program; a demonstration window just hides.
    reference->setAttribute(Qt::WA_QuitOnClose, false);
  }
  reference->show();
  reference->raise();
  reference->activateWindow();
  return reference;
}

void TMainForm::SetFormFactory(TDemoWindow which, TFormFactory factory) {
  factories_[static_cast<size_t>(which)] = std::move(factory);
}

void TMainForm::OpenLocalDocument(const QString& fileName) {
  const QString path = FindLocalDocument(ProgramDirectory(), fileName);
  if (path.isEmpty()) return;
  if (urlOpener_) urlOpener_(QUrl::fromLocalFile(path));
}

void TMainForm::OpenWebPage(const QString& address) {
  if (urlOpener_) urlOpener_(QUrl(address));
}

void TMainForm::SetUrlOpener(TUrlOpener opener) { urlOpener_ = std::move(opener); }

QString TMainForm::ProgramDirectory() const {
  return programDirectory_.isEmpty() ? QCoreApplication::applicationDirPath() : programDirectory_;
}

void TMainForm::FBoxButtonClick() { ShowDemoWindow(TDemoWindow::Fbox); }

void TMainForm::CalendDemoButtonClick() { ShowDemoWindow(TDemoWindow::Calend); }

void TMainForm::OtherCompsDemoButtonClick() { ShowDemoWindow(TDemoWindow::Misk); }

void TMainForm::ReadMoreButtonClick() { OpenLocalDocument(QLatin1String(kSievraDocument)); }

void TMainForm::RegisterButtonClick() { OpenWebPage(QLatin1String(kOrderPageUrl)); }

void TMainForm::Button4Click() { OpenLocalDocument(QLatin1String(kCalendarDocument)); }

void TMainForm::Label3Click() { OpenWebPage(QLatin1String(kHomePageUrl)); }

}  // namespace Kel
