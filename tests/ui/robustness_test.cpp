// What real lines do to the program: received data of every shape, storms of line errors and
// messages longer than one write. Virtual time, the main window on a simulated line.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <random>

#include "link/functions.h"
#include "serial/simulated_line.h"
#include "support/line_transcript.h"
#include "ui/cdemo.h"
#include "ui_test_support.h"

namespace {

constexpr platform::Micros kTick = 70'000;

class Robustness : public uitest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    window_ = std::make_unique<ui::CDemo>([] { return std::string("COM1"); });
    window_->Form_Load();
  }
  void TearDown() override {
    window_.reset();
    WindowTest::TearDown();
  }
  win32::SimulatedLine& Line() { return *win32::SimulatedLineOf(functions::serial->handle()); }
  ui::CDemo& Window() { return *window_; }

 private:
  std::unique_ptr<ui::CDemo> window_;
};

// What a delivery is made of: the bytes up to the first zero byte, then zeros.
std::string CutAtZero(std::string chunk) {
  const auto zero = chunk.find('\0');
  if (zero != std::string::npos) std::fill(chunk.begin() + zero, chunk.end(), '\0');
  return chunk;
}

struct Stream {
  const char* name;
  std::function<std::string()> bytes;
  platform::Micros byteGap;  // idle time between bytes; 0 sends one burst
};

std::string RandomBytes(unsigned seed, std::size_t size) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random() & 0xFF);
  return bytes;
}

class ReceivedData : public Robustness, public testing::WithParamInterface<Stream> {};

TEST_P(ReceivedData, EveryByteIsDeliveredOnceInOrderAndTheBoxesFollowTheLastBlock) {
  const auto& terminal = Window().Terminal();
  // As a master's terminal has them: sender in Text3, the rest in TermText.
  functions::SetTextWindow(terminal.TermTextWindow);
  functions::SetFirstByteWindow(terminal.Text3Window);
  const std::string stream = GetParam().bytes();
  platform::Micros at = Clock().NowMicros();
  if (GetParam().byteGap == 0) {
    Line().SendToProgram(stream, at);
  } else {
    for (const char c : stream) {
      Line().SendToProgram(std::string(1, c), at);
      at += GetParam().byteGap;
    }
  }
  std::vector<std::string> deliveries;
  const platform::Micros enough =
      static_cast<platform::Micros>(stream.size()) * (1042 + GetParam().byteGap) * 2 + kTick * 20;
  for (platform::Micros spent = 0; spent < enough; spent += kTick) {
    Clock().RunFor(kTick);
    if (functions::ReplyArrived()) {
      const std::string delivered = functions::TakeReply();
      if (!delivered.empty()) deliveries.push_back(delivered);
      functions::ReplyArrivedFlag = false;
    }
  }

  std::size_t offset = 0;
  for (const std::string& delivery : deliveries) {
    ASSERT_LE(delivery.size(), 1024u);
    ASSERT_LE(offset + delivery.size(), stream.size());
    EXPECT_EQ(delivery, CutAtZero(stream.substr(offset, delivery.size())));
    offset += delivery.size();
  }
  EXPECT_EQ(offset, stream.size()) << "bytes lost or left behind";

  ASSERT_FALSE(deliveries.empty());
  const std::string& last = deliveries.back();
  const auto first = static_cast<unsigned char>(last.front());
  const std::string rest = std::string(last.c_str() + (first == 0 ? 0 : 1));
  EXPECT_EQ(terminal.Text3->text().toStdString(), first == 0 ? "" : std::to_string(first));
  EXPECT_EQ(terminal.TermText->toPlainText(), QString::fromLatin1(first == 0 ? "" : rest.c_str()));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ReceivedData,
    testing::Values(Stream{"ZeroBytes", [] { return std::string(40, '\0'); }, 0},
                    Stream{"ZeroInTheMiddle", [] { return std::string("\x05hi\0there", 9); }, 0},
                    Stream{"LongerThanOneRead", [] { return RandomBytes(1, 3000); }, 0},
                    Stream{"OneByteAtATime", [] { return std::string("\x07slow"); }, 150'000},
                    Stream{"RandomStream", [] { return RandomBytes(42, 700); }, 0},
                    Stream{"RandomTrickle", [] { return RandomBytes(7, 60); }, 3'000}),
    [](const testing::TestParamInfo<Stream>& info) { return std::string(info.param.name); });

TEST_F(Robustness, AStormOfLineErrorsShowsOneBoxAtATimeInOrder) {
  // The operator takes half a second over each box; errors keep coming meanwhile.
  Boxes().WhileOpen(
      [this](const testsupport::MessageBoxRecorder::Box&) { Clock().RunFor(500'000); });
  const platform::Micros start = Clock().NowMicros();
  for (int i = 0; i < 40; ++i) {
    Line().InjectLineError(win32::CE_OVERRUN | win32::CE_FRAME, start + 100'000 + i * 30'000);
  }
  Line().SendToProgram("still alive", start + 2'000'000);
  Clock().RunFor(6'000'000);

  const auto texts = Boxes().Texts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(Boxes().MostOpenAtOnce(), 1);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i], i % 2 == 0 ? "Receive Overrun Error" : "Frame Error") << "box " << i;
  }
  EXPECT_EQ(functions::TakeReply(), "still alive") << "reading went on through the storm";
}

TEST_F(Robustness, ALongMessageGoesOutCompletelyAsLaterSendsPushTheQueue) {
  const auto& terminal = Window().Terminal();
  Window().Session().TerminalRole = 1;
  terminal.Command5->setEnabled(true);
  std::string message;
  for (int i = 0; i < 1500; ++i)
    message.push_back(static_cast<char>('A' + i % 26));
  terminal.Text1->setPlainText(QString::fromLatin1(message.c_str()));
  terminal.Text2->setText("9");
  const std::string frame = "\x09" + message;

  uitest::Click(terminal.Command5);
  Clock().RunFor(3'000'000);
  uitest::Click(terminal.Command5);  // the next send pushes what waited
  Clock().RunFor(3'000'000);
  uitest::Click(terminal.Command5);
  Clock().RunFor(3'000'000);

  const auto frames = testsupport::Frames(Line().Transcript(), Line().ByteDuration());
  std::string sent;
  for (const auto& written : testsupport::Written(frames)) {
    EXPECT_LE(written.size(), 1024u);
    sent += written;
  }
  const std::string all = frame + frame + frame;
  ASSERT_LE(sent.size(), all.size());
  EXPECT_EQ(sent, all.substr(0, sent.size())) << "bytes out of order";
  EXPECT_GE(sent.size(), 2 * frame.size()) << "the earlier messages went out completely";
}

}  // namespace
