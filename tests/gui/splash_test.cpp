// The splash and About box.
#include <QFrame>
#include <QLabel>
#include <QTest>

#include "gui_support.h"
#include "shell/ui/splash_form.h"

namespace trawlix {
namespace {

using testing::child;

TEST(Splash, ShowsTheProductAndTheBuildVersion) {
  SplashForm splash;
  EXPECT_EQ(splash.objectName(), "frmSplash");
  EXPECT_EQ(child<QLabel>(&splash, "lblProductName")->text(), "Trawlix");
  EXPECT_EQ(child<QLabel>(&splash, "lblCompanyProduct")->text(), "Internet search & retrieval");
  EXPECT_FALSE(child<QLabel>(&splash, "lblPlatform")->text().contains("Windows 95"));
  EXPECT_FALSE(child<QLabel>(&splash, "lblWarning")->text().isEmpty());
  EXPECT_EQ(child<QLabel>(&splash, "lblVersion")->text(),
            QStringLiteral("Version ") + QStringLiteral(TRAWLIX_VERSION));
}

TEST(Splash, VersionReadsMajorMinorRevision) {
  EXPECT_EQ(version_caption("1.2.41"), "Version 1.2.41");
  EXPECT_EQ(version_caption("0.1"), "Version 0.1.0");
  EXPECT_EQ(version_caption("3"), "Version 3.0.0");
}

TEST(Splash, AKeyOrAClickClosesIt) {
  SplashForm splash;
  splash.show();
  QTest::keyClick(&splash, Qt::Key_A);
  EXPECT_FALSE(splash.isVisible());
  for (const char* part : {"imgLogo", "lblProductName", "fraMainFrame"}) {
    splash.show();
    ASSERT_TRUE(splash.isVisible());
    QTest::mouseClick(child<QWidget>(&splash, part), Qt::LeftButton);
    EXPECT_FALSE(splash.isVisible()) << part;
  }
}

// A splash screen lets events run while it is shown outside the event
// loop; About must be a plain dialog, or a close during its show would be
// lost and its exec() would wait for ever.
TEST(Splash, IsASplashScreenOnlyAtStartUp) {
  EXPECT_EQ(SplashForm(nullptr, SplashForm::Use::kStartUp).windowType(), Qt::SplashScreen);
  EXPECT_EQ(SplashForm().windowType(), Qt::Dialog);
}

TEST(Splash, AboutShowsItModally) {
  testing::StartedWindow started;
  QString shown;
  testing::when_modal([&](QWidget* modal) {
    shown = modal->objectName();
    QTest::keyClick(modal, Qt::Key_Space);
  });
  started.trigger("mnuAbout");
  EXPECT_EQ(shown, "frmSplash");
}

}  // namespace
}  // namespace trawlix
