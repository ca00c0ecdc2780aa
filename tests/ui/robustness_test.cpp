// What real lines do to the program: received data of every shape, storms of line errors and
// messages longer than one write. Virtual time, the main window on a simulated line.

#include <algorithm>
#include <random>

#include "radio_window.h"

namespace {

using uitest::Micros;

using Robustness = uitest::RadioWindowTest;

std::string RandomBytes(unsigned seed, std::size_t size) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random()); });
  return bytes;
}

struct Stream {
  const char* name;
  std::string bytes;
  Micros gap;  // idle time between bytes; 0 sends them in one burst
  friend void PrintTo(const Stream& stream, std::ostream* out) { *out << stream.name; }
};

class ReceivedData : public Robustness, public testing::WithParamInterface<Stream> {};

TEST_P(ReceivedData, EveryByteIsDeliveredOnceInOrderAndTheBoxesFollowTheLastBlock) {
  LoadOnScript();
  const auto& terminal = Window().Terminal();
  // As a master's terminal has them: sender in Text3, the rest in TermText.
  functions::SetTextWindow(terminal.TermTextWindow);
  functions::SetFirstByteWindow(terminal.Text3Window);
  const auto& [name, stream, gap] = GetParam();
  for (std::size_t i = 0; i < stream.size(); i += gap == 0 ? stream.size() : 1)
    Line().SendToProgram(gap == 0 ? stream : stream.substr(i, 1), Time().NowMicros() + i * gap);
  std::vector<std::string> deliveries;
  for (Micros spent = 0; spent < static_cast<Micros>(stream.size()) * (2100 + 2 * gap) + 1400'000;
       spent += 70'000) {
    RunMs(70);
    if (std::string delivered = functions::TakeReply(); !delivered.empty()) {
      deliveries.push_back(delivered);
    }
  }

  std::size_t offset = 0;
  for (const std::string& delivery : deliveries) {
    ASSERT_LE(delivery.size(), 1024u);
    // What a delivery is made of: the bytes up to the first zero byte, then zeros.
    std::string expected = stream.substr(offset, delivery.size());
    expected.resize(std::min(expected.find('\0'), expected.size()));
    expected.resize(delivery.size(), '\0');
    EXPECT_EQ(delivery, expected);
    offset += delivery.size();
  }
  EXPECT_EQ(offset, stream.size()) << "bytes lost or left behind";

  ASSERT_FALSE(deliveries.empty());
  const std::string last = deliveries.back().c_str();
  EXPECT_EQ(terminal.Text3->text().toStdString(),
            last.empty() ? "" : std::to_string(static_cast<unsigned char>(last[0])));
  EXPECT_EQ(terminal.TermText->toPlainText(),
            QString::fromLatin1(last.empty() ? "" : last.substr(1).c_str()));
}

INSTANTIATE_TEST_SUITE_P(Shapes, ReceivedData,
                         testing::Values(Stream{"ZeroBytes", std::string(40, '\0'), 0},
                                         Stream{"ZeroInTheMiddle", std::string("\x05hi\0there", 9),
                                                0},
                                         Stream{"LongerThanOneRead", RandomBytes(1, 3000), 0},
                                         Stream{"OneByteAtATime", "\x07slow", 150'000},
                                         Stream{"RandomTrickle", RandomBytes(7, 60), 3'000}));

TEST_F(Robustness, AStormOfLineErrorsShowsOneBoxAtATimeInOrder) {
  LoadOnScript();
  // The operator takes half a second over each box; errors keep coming meanwhile.
  Boxes().WhileOpen([this](const testsupport::MessageBoxRecorder::Box&) { RunMs(500); });
  const Micros start = Time().NowMicros();
  for (int i = 0; i < 40; ++i)
    Line().InjectLineError(win32::CE_OVERRUN | win32::CE_FRAME, start + 100'000 + i * 30'000);
  Line().SendToProgram("still alive", start + 2'000'000);
  RunMs(6000);

  const auto texts = Boxes().Texts();
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(Boxes().MostOpenAtOnce(), 1);
  for (std::size_t i = 0; i < texts.size(); ++i)
    EXPECT_EQ(texts[i], i % 2 == 0 ? "Receive Overrun Error" : "Frame Error") << "box " << i;
  EXPECT_EQ(functions::TakeReply(), "still alive") << "reading went on through the storm";
}

TEST_F(Robustness, ALongMessageGoesOutCompletelyAsLaterSendsPushTheQueue) {
  LoadOnScript();
  const auto& terminal = Window().Terminal();
  Window().Session().TerminalRole = 1;
  terminal.Command5->setEnabled(true);
  std::string message;  // numbers counting its length, so that any byte out of place shows
  while (message.size() < 1500)
    message += std::to_string(message.size()) + ",";
  terminal.Text1->setPlainText(QString::fromLatin1(message.c_str()));
  terminal.Text2->setText("9");
  const std::string frame = "\x09" + message;
  for (int send = 0; send < 3; ++send) {
    uitest::Click(terminal.Command5);  // each send pushes what waited
    RunMs(3000);
  }

  std::string sent;
  for (const auto& frame : Sent()) {
    EXPECT_LE(frame.bytes.size(), 1024u);
    sent += frame.bytes;
  }
  const std::string all = frame + frame + frame;
  ASSERT_LE(sent.size(), all.size());
  EXPECT_EQ(sent, all.substr(0, sent.size())) << "bytes out of order";
  EXPECT_GE(sent.size(), 2 * frame.size()) << "the earlier messages went out completely";
}

}  // namespace
