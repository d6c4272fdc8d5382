// frmSplash: the product box shown while the program starts and by About.
// A key press or a click closes it.
#pragma once

#include <QDialog>
#include <QString>

namespace trawlix {

// "Version " + major.minor.revision of `version` ("0.1" reads 0.1.0).
QString version_caption(const QString& version);

class SplashForm : public QDialog {
  Q_OBJECT

 public:
  enum class Use { kAbout, kStartUp };
  // At start-up the form is a splash screen, drawn before the event loop
  // runs; for About it is a modal dialog.
  explicit SplashForm(QWidget* parent = nullptr, Use use = Use::kAbout);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace trawlix
