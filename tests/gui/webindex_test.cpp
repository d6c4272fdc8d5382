// Generate Web Index from the main window's menu: the question, the
// progress bars and the letter label while the run goes on, and what the
// WorkSpace holds afterwards.
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <filesystem>
#include <set>

#include "gui_support.h"
#include "search/engine_byte_order.h"
#include "search/ui/webindex_commands.h"

namespace trawlix {
namespace {

using testing::child;
using testing::StartedWindow;

struct WebIndexWindow : StartedWindow {
  explicit WebIndexWindow(std::vector<std::string> engine = {TRAWLIX_CARTEX32_PATH})
      : byte_order(std::move(engine)) {
    install_webindex_commands(window, byte_order);
    window.refresh_commands();
    Database& db = *window.workspace().db();
    EXPECT_TRUE(
        db.exec("insert into Docs (URLDocument, URLDescription, URLLevel, URLParent) "
                "values ('http://h/index.htm', 'Home', 1, 0)"));
    Transaction tx(db);
    for (int k = 0; k < 300; ++k) {
      EXPECT_TRUE(db.exec("insert into Words (Word, Occurrences) values (?, 1)",
                          {std::to_string(1000 + k).insert(0, 1, 'M')}));
      EXPECT_TRUE(db.exec("insert into WordsDocs (DocID, WordID, Occurrences) values (1, ?, 1)",
                          {db.last_insert_id()}));
    }
    EXPECT_TRUE(tx.commit());
  }
  bool written(const char* name) { return std::filesystem::exists(window.workspace().file(name)); }

  EngineByteOrder byte_order;
};

TEST(WebIndexCommand, RunShowsBarsAndLetterThenWritesTheFiles) {
  WebIndexWindow w;
  w.recorder.script({Answer::kOk});
  auto* letter = child<QLabel>(&w.window, "lblLetter");
  auto* general = child<QProgressBar>(&w.window, "pbGeneralProgress");
  auto* index = child<QProgressBar>(&w.window, "pgIndexProgress");
  ASSERT_TRUE(letter && general && index);

  // Seen from inside the run, each time it lets events run.
  std::set<QString> letters;
  bool bars_shown = false, menu_disabled = false;
  int general_maximum = 0, index_value = -1;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!w.window.running()) return;
    letters.insert(letter->text());
    bars_shown = bars_shown || (!general->isHidden() && !index->isHidden());
    general_maximum = general->maximum();
    index_value = std::max(index_value, index->value());
    menu_disabled = !w.window.entry("mnuRegenerate")->isEnabled();
  });
  watch.start(0);
  w.trigger("mnuRegenerate");
  watch.stop();

  ASSERT_EQ(w.recorder.messages.size(), 1u);
  const MessageRequest& q = w.recorder.messages[0];
  EXPECT_TRUE(q.question);
  EXPECT_EQ(q.title, "Confirm process:");
  EXPECT_EQ(q.text, "This option is for Findlet applet users only.\rDo you want to continue? ");
  EXPECT_EQ(q.icon, Icon::kQuestion);
  EXPECT_EQ(q.buttons, Buttons::kOkCancel);

  EXPECT_EQ(letters, std::set<QString>{QStringLiteral("Letter M")});
  EXPECT_TRUE(bars_shown);
  EXPECT_EQ(general_maximum, 30);
  EXPECT_GT(index_value, 1);
  EXPECT_TRUE(menu_disabled);

  EXPECT_TRUE(letter->text().isEmpty());
  EXPECT_TRUE(general->isHidden());
  EXPECT_TRUE(index->isHidden());
  EXPECT_TRUE(w.window.entry("mnuRegenerate")->isEnabled());
  EXPECT_FALSE(w.window.running());
  EXPECT_TRUE(w.written("ftsdocs.jpg"));
  EXPECT_TRUE(w.written("ftsindexM.jpg"));
  EXPECT_TRUE(w.written("ftscrossM.jpg"));
  // The search page is copied beside them (its failure would be a message).
  EXPECT_TRUE(w.written("search.html"));
  EXPECT_FALSE(w.written("ftsindexA.jpg"));
}

TEST(WebIndexCommand, CancelAndAMissingEngineWriteNothing) {
  WebIndexWindow cancelled;
  cancelled.recorder.script({Answer::kCancel});
  cancelled.trigger("mnuRegenerate");
  EXPECT_EQ(cancelled.recorder.messages.size(), 1u);
  EXPECT_FALSE(cancelled.written("ftsdocs.jpg"));

  WebIndexWindow missing({"/nonexistent/libcartex32.so"});
  missing.recorder.script({Answer::kOk});
  missing.trigger("mnuRegenerate");
  ASSERT_EQ(missing.recorder.messages.size(), 2u);
  EXPECT_EQ(missing.recorder.messages[1].title, "Web index:");
  EXPECT_NE(missing.recorder.messages[1].text.find("libcartex32.so"), std::string::npos);
  EXPECT_EQ(missing.recorder.messages[1].icon, Icon::kCritical);
  EXPECT_FALSE(missing.written("ftsdocs.jpg"));
  EXPECT_FALSE(missing.written("search.html"));
  EXPECT_FALSE(missing.window.running());
}

}  // namespace
}  // namespace trawlix
