// Message display: the buffer, the notice and error boxes, questions, the
// default sink's answers and a host-installed callback.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cartex32.h"
#include "frame/messages.h"
#include "support/recording_sink.h"

namespace cx {
namespace {

using testing::RecordingSink;

TEST(Messages, NoticeAndErrorCarryCaptionIconAndOwner) {
  RecordingSink sink;
  set_Hwnd(0);
  avise("hola");
  set_Hwnd(4242);
  avise_error("falla");
  set_Hwnd(0);

  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].owner, 0);
  EXPECT_EQ(sink.messages[0].caption, "Mensaje de Cartex_win");
  EXPECT_EQ(sink.messages[0].text, "hola");
  EXPECT_EQ(sink.messages[0].style, CX_MB_OK | CX_MB_ICONINFORMATION);
  EXPECT_EQ(sink.messages[1].owner, 4242);
  EXPECT_EQ(sink.messages[1].caption, "Mensaje de Cartex_win");
  EXPECT_EQ(sink.messages[1].style, CX_MB_OK | CX_MB_ICONSTOP);
}

TEST(Messages, QuestionReturnsTheButtonThatWasPressed) {
  RecordingSink sink;
  sink.answers = {CX_IDYES};
  EXPECT_EQ(
      pregunte("ATENCION: desea eliminar 3 objetos?", CX_MB_YESNO | CX_MB_ICONQUESTION, "Borrar"),
      CX_IDYES);
  EXPECT_EQ(sink.messages.at(0).caption, "Borrar");
  EXPECT_EQ(sink.messages.at(0).style, CX_MB_YESNO | CX_MB_ICONQUESTION);
  // Without a scripted answer the safe one comes back.
  EXPECT_EQ(pregunte("otra?", CX_MB_YESNO, "Borrar"), CX_IDNO);
}

TEST(Messages, DefaultSinkWritesCaptionAndTextAndAnswersSafely) {
  ::testing::internal::CaptureStderr();
  const int ok = pregunte("aviso", CX_MB_OK, "Titulo");
  const int yes_no = pregunte("borrar?", CX_MB_YESNO | CX_MB_DEFBUTTON2, "Titulo");
  const int ync = pregunte("guardar?", CX_MB_YESNOCANCEL, "Titulo");
  const int okc = pregunte("seguir?", CX_MB_OKCANCEL, "Titulo");
  const int retry = pregunte("reintentar?", CX_MB_RETRYCANCEL, "Titulo");
  const int ari = pregunte("disco?", CX_MB_ABORTRETRYIGNORE, "Titulo");
  const std::string err = ::testing::internal::GetCapturedStderr();

  EXPECT_EQ(ok, CX_IDOK);
  EXPECT_EQ(yes_no, CX_IDNO);
  EXPECT_EQ(ync, CX_IDCANCEL);
  EXPECT_EQ(okc, CX_IDCANCEL);
  EXPECT_EQ(retry, CX_IDCANCEL);
  EXPECT_EQ(ari, CX_IDABORT);
  EXPECT_EQ(err.rfind("Titulo: aviso\nTitulo: borrar?\n", 0), 0u) << err;
}

TEST(Messages, FormattedTextIsCutAtTheBufferNeverOverrun) {
  RecordingSink sink;
  const std::string huge(3 * kTextoMensajeSize, 'x');
  informe_error("LEER: %s", huge.c_str());
  const std::size_t shown = sink.messages.at(0).text.size();
  EXPECT_EQ(shown, kTextoMensajeSize - 1);
  EXPECT_EQ(std::strlen(texto_mensaje), kTextoMensajeSize - 1);
  EXPECT_EQ(sink.messages.at(0).text.substr(0, 7), "LEER: x");
}

TEST(Messages, FormattingMayReadTheBufferItWrites) {
  formatee("%s", "abc");
  formatee("%s-%s", texto_mensaje, texto_mensaje);
  EXPECT_STREQ(texto_mensaje, "abc-abc");
}

struct CallbackLog {
  int calls = 0;
  int owner = 0;
  std::string caption;
  std::vector<std::string> texts;
  int style = 0;
};

int32_t log_message(void* user, int32_t owner, const char* caption, const char* text,
                    int32_t style) {
  auto* log = static_cast<CallbackLog*>(user);
  ++log->calls;
  log->owner = owner;
  log->caption = caption;
  log->texts.push_back(text);
  log->style = style;
  return CX_IDRETRY;
}

TEST(Messages, HostCallbackReceivesEveryMessageUntilRemoved) {
  CallbackLog log;
  EXPECT_EQ(cx_set_message_callback(log_message, &log), -1);
  set_Hwnd(77);
  formatee("ERROR de %s", "prueba");
  avise_error(texto_mensaje);
  const int answer = pregunte("otra vez?", CX_MB_RETRYCANCEL, "Disco");
  set_Hwnd(0);
  EXPECT_EQ(cx_set_message_callback(nullptr, nullptr), -1);

  EXPECT_EQ(log.calls, 2);
  EXPECT_EQ(answer, CX_IDRETRY);
  EXPECT_EQ(log.owner, 77);
  EXPECT_EQ(log.caption, "Disco");
  EXPECT_EQ(log.texts, (std::vector<std::string>{"ERROR de prueba", "otra vez?"}));
  EXPECT_EQ(log.style, CX_MB_RETRYCANCEL);

  // Removed: the default sink answers again, and the callback is not called.
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(pregunte("x", CX_MB_RETRYCANCEL, "Disco"), CX_IDCANCEL);
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(log.calls, 2);
}

}  // namespace
}  // namespace cx
