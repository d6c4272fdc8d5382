// The splash and About box.
#include "shell/ui/splash_form.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QVersionNumber>

namespace trawlix {
namespace {

QLabel* add_label(QWidget* parent, const char* name, const QString& text, int point_delta = 0,
                  bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  QFont font = label->font();
  if (point_delta) font.setPointSize(font.pointSize() + point_delta);
  font.setBold(bold);
  label->setFont(font);
  return label;
}

}  // namespace

QString version_caption(const QString& version) {
  QVersionNumber v = QVersionNumber::fromString(version);
  return QStringLiteral("Version %1.%2.%3")
      .arg(v.majorVersion())
      .arg(v.minorVersion())
      .arg(v.microVersion());
}

SplashForm::SplashForm(QWidget* parent, Use use)
    : QDialog(parent,
              (use == Use::kStartUp ? Qt::SplashScreen : Qt::Dialog) | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setWindowTitle(QStringLiteral("About Trawlix"));

  auto* frame = new QFrame(this);
  frame->setObjectName(QStringLiteral("fraMainFrame"));
  frame->setFrameShape(QFrame::Box);
  frame->setLineWidth(2);

  auto* logo = new QLabel(frame);
  logo->setObjectName(QStringLiteral("imgLogo"));
  logo->setPixmap(QIcon(QStringLiteral(":/trawlix/trawlix.png")).pixmap(96, 96));
  logo->setAlignment(Qt::AlignTop);

  auto* grid = new QGridLayout(frame);
  grid->setContentsMargins(18, 18, 18, 18);
  grid->setHorizontalSpacing(18);
  grid->addWidget(logo, 0, 0, 5, 1);
  grid->addWidget(add_label(frame, "lblProductName", QStringLiteral("Trawlix"), 14, true), 0, 1);
  // A label shows "&" as it is: no mnemonic without a buddy.
  grid->addWidget(
      add_label(frame, "lblCompanyProduct", QStringLiteral("Internet search & retrieval"), 3), 1,
      1);
  grid->addWidget(
      add_label(frame, "lblPlatform", QStringLiteral("for Linux and other Qt 6 desktops")), 2, 1);
  grid->addWidget(
      add_label(frame, "lblVersion", version_caption(QStringLiteral(TRAWLIX_VERSION)), 0, true), 3,
      1);
  QLabel* warning = add_label(frame, "lblWarning",
                              QStringLiteral("Warning: crawl and publish only sites whose owners "
                                             "allow their pages to be copied and indexed."),
                              -1);
  warning->setWordWrap(true);
  grid->addWidget(warning, 4, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(frame);
  setFixedWidth(440);
}

void SplashForm::keyPressEvent(QKeyEvent* event) {
  event->accept();
  accept();
}

// Labels and the frame pass their clicks on to the form.
void SplashForm::mousePressEvent(QMouseEvent* event) {
  event->accept();
  accept();
}

}  // namespace trawlix
