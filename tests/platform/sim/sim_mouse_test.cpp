#include "platform/sim/sim_mouse.h"

#include "platform/clock/clock.h"

#include <gtest/gtest.h>

#include <thread>

using namespace platform;

namespace {

using Bytes = std::vector<uint8_t>;

// A command report as the program frames it.
Bytes Command(uint8_t code, const Bytes& payload, uint8_t seq = 1) {
    Bytes r(33, 0);
    r[0] = 0x0C;
    r[1] = 0x01;
    r[2] = code;
    r[4] = seq;
    r[5] = code == 0x20 ? 0x00 : 0x01;
    r[6] = uint8_t(payload.size());
    std::copy(payload.begin(), payload.end(), r.begin() + 7);
    return r;
}

// Lighting carries the image from byte 6, its length byte included.
Bytes Lighting(const Bytes& image) {
    Bytes r = Command(0x08, {});
    std::copy(image.begin(), image.end(), r.begin() + 6);
    return r;
}

Bytes With(Bytes r, size_t at, uint8_t v) {
    r[at] = v;
    return r;
}

// The data packets of a macro whose image from byte 4 on is `steps`
// (`length` meaningful bytes), numbered and counted down as the upload does.
std::vector<Bytes> MacroPackets(uint8_t index, Bytes steps, size_t length) {
    const size_t n = length == 0 ? 1 : (length + 24) / 25;
    steps.resize(n * 25, 0);
    std::vector<Bytes> out;
    for (size_t k = 0, remaining = length; k < n; ++k, remaining = remaining > 25 ? remaining - 25 : 0) {
        Bytes r = Command(0x0E, {});
        r[4] = uint8_t(k);
        r[5] = uint8_t(((k & 0x0F) << 4) | (n & 0x0F));
        r[6] = uint8_t(remaining > 25 ? 26 : remaining + 1);
        r[7] = index;
        std::copy(steps.begin() + long(k * 25), steps.begin() + long(k * 25 + 25), r.begin() + 8);
        out.push_back(r);
    }
    return out;
}

struct SimFixture : ::testing::Test {
    VirtualClock clock;
    SimMouse sim{clock, true, true};

    std::unique_ptr<IHidDevice> Open(SimProduct p, SimInterface i) {
        std::string error;
        auto dev = sim.Open(SimPath(p, i), &error);
        EXPECT_TRUE(dev) << error;
        return dev;
    }
    // Writes and insists that the sim took the report.
    void Send(IHidDevice& dev, const Bytes& r) {
        ASSERT_TRUE(dev.SetFeature(r.data(), r.size()));
        ASSERT_TRUE(sim.Trace().back().valid) << sim.Trace().back().problem;
    }
};

TEST_F(SimFixture, PresentsThreeInterfacesPerPluggedProduct) {
    auto list = sim.Enumerate();
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[0].path, "sim:A:mouse");
    EXPECT_LT(list[0].inputReportLength, 33);
    EXPECT_EQ(list[1].inputReportLength, 33);
    EXPECT_EQ(list[1].featureReportLength, 0);
    EXPECT_EQ(list[2].featureReportLength, 33);
    EXPECT_EQ(list[5].productId, kSimProductB);

    SimMouse onlyB(clock, false, true);
    ASSERT_EQ(onlyB.Enumerate().size(), 3u);
    std::string error;
    EXPECT_EQ(onlyB.Open("sim:A:feature", &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(onlyB.Open("/dev/hidraw0", &error), nullptr);
}

TEST(SimFraming, AcceptsEveryCommandAsTheProgramFramesIt) {
    const std::vector<Bytes> good = {
        Command(0x04, {7, 0x10, 0x01, 0x00}), Command(0x05, Bytes(18, 0)), Command(0x06, Bytes(24, 0xFF)),
        Command(0x07, {8}), Lighting({0x03, 0x01, 0x22, 0x01}),
        Lighting({0x09, 0x02, 0x22, 0x02, 0xFF, 0, 0, 0, 0, 0xFF}),
        Lighting({0x00, 0x0C, 0x11}),  // modes from 10 on: length 0, yet mode and speed go out
        Command(0x09, {2, 0}), Command(0x0A, {4}), Command(0x0B, {10, 1}), Command(0x0C, {1}),
        Command(0x0F, {0xFF}), Command(0x20, {}), MacroPackets(1, {}, 0)[0]};
    for (const Bytes& r : good) EXPECT_EQ(CheckFeatureFraming(r.data(), r.size()), "") << int(r[2]);
}

TEST(SimFraming, RejectsEachWrongFramingByte) {
    const Bytes key = Command(0x04, {3, 0x10, 0x01, 0x00});
    const Bytes status = Command(0x20, {});
    const Bytes macro = MacroPackets(1, {}, 0)[0];
    const std::vector<std::pair<const char*, Bytes>> bad = {
        {"report id", With(key, 0, 0x0B)},
        {"byte 1", With(key, 1, 0x71)},
        {"byte 3", With(key, 3, 0x01)},
        {"byte 5 of a setting", With(key, 5, 0x00)},
        {"byte 5 of the status request", With(status, 5, 0x01)},
        {"payload length", With(key, 6, 5)},
        {"status payload length", With(status, 6, 1)},
        {"byte after the payload", With(key, 11, 0x01)},
        {"last byte", With(key, 32, 0x01)},
        {"unknown command", With(key, 2, 0x0D)},
        {"button index", With(key, 7, 8)},
        {"polling interval", Command(0x07, {3})},
        {"lift-off value", Command(0x09, {0, 0})},
        {"factory reset payload", Command(0x0F, {0x00})},
        {"lighting length for its mode", Lighting({0x02, 0x01, 0x22, 0x01})},
        {"lighting mode 2 colour count", Lighting({0x0C, 0x02, 0x22, 0x02, 1, 2, 3})},
        {"lighting trailing byte", Lighting({0x03, 0x01, 0x22, 0x01, 0x05})},
        {"macro length", With(macro, 6, 27)},
        {"macro index", With(macro, 7, 9)},
        {"last macro packet number", With(macro, 5, 0x02)},
    };
    for (const auto& [what, r] : bad) EXPECT_NE(CheckFeatureFraming(r.data(), r.size()), "") << what;
    EXPECT_NE(CheckFeatureFraming(key.data(), 32), "");
    EXPECT_NE(CheckFeatureFraming(nullptr, 33), "");
}

TEST_F(SimFixture, RejectedReportsAreFlaggedAndLeaveTheStateAlone) {
    auto dev = Open(SimProduct::A, SimInterface::Feature);
    const Bytes r = With(Command(0x07, {4}), 3, 0x02);
    EXPECT_TRUE(dev->SetFeature(r.data(), r.size()));  // the mouse acknowledges anything
    EXPECT_FALSE(sim.Trace().back().valid);
    EXPECT_NE(sim.Trace().back().problem.find("byte 3"), std::string::npos);
    EXPECT_FALSE(sim.State().pollingIntervalMs);
    EXPECT_EQ(sim.State().rejectedWrites, 1);
    EXPECT_TRUE(sim.AcceptedWrites().empty());
    // An interface without feature reports fails them, as on the wire.
    auto input = Open(SimProduct::A, SimInterface::Input);
    EXPECT_FALSE(input->SetFeature(Command(0x07, {4}).data(), 33));
    EXPECT_FALSE(input->LastError().empty());
}

TEST_F(SimFixture, DecodesTheResetProfileReports) {
    auto dev = Open(SimProduct::A, SimInterface::Feature);
    // DPI levels of a reset profile on sensor 0x3325, bytes 6..24 (levels 6
    // and 7 off but carried all the same).
    Bytes dpi = Command(0x05, Bytes(18, 0));
    const Bytes golden = {0x12, 0x26, 0x3F, 0x07, 0x00, 0x0F, 0x00, 0x17, 0x00, 0x1F,
                          0x00, 0x34, 0x00, 0x3B, 0x00, 0x43, 0x00, 0x4D, 0x01};
    std::copy(golden.begin(), golden.end(), dpi.begin() + 6);
    for (const Bytes& r : {dpi,
                           Command(0x06, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0,
                                          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
                           Lighting({0x03, 0x01, 0x22, 0x01}), Command(0x04, {0x00, 0x10, 0x01, 0x00}),
                           Command(0x07, {1}), Command(0x09, {1, 0}), Command(0x0A, {8}), Command(0x0B, {5, 1}),
                           Command(0x0C, {1})})
        Send(*dev, r);

    SimDeviceState s = sim.State();
    ASSERT_TRUE(s.dpi && s.dpiColours && s.lighting && s.power);
    EXPECT_EQ(s.dpi->enabledCount, 6);
    EXPECT_EQ(s.dpi->currentOrdinal, 2);
    EXPECT_EQ(s.dpi->enableMask, 0x3F);
    EXPECT_EQ(s.dpi->codes, (std::array<uint16_t, 8>{7, 15, 23, 31, 52, 59, 67, 0x14D}));
    EXPECT_EQ((*s.dpiColours)[1], (std::array<uint8_t, 3>{0, 0, 0xFF}));
    EXPECT_EQ((*s.dpiColours)[7], (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(s.lighting->length(), 3);
    EXPECT_EQ(s.lighting->mode(), 1);
    EXPECT_EQ(s.lighting->brightness(), 1);
    EXPECT_EQ(s.lighting->speed(), 1);
    EXPECT_EQ(s.lighting->image[3], 1);  // direction
    EXPECT_EQ(s.buttons[0], (std::array<uint8_t, 3>{0x10, 0x01, 0x00}));
    EXPECT_FALSE(s.buttons[1]);
    EXPECT_EQ(s.pollingIntervalMs, 1);
    EXPECT_EQ(s.liftOff, (std::array<uint8_t, 2>{1, 0}));
    EXPECT_EQ(s.debounce, 8);
    EXPECT_EQ(s.power->powerDownTime, 5);
    EXPECT_EQ(s.power->moveLightingMode, 1);
    EXPECT_EQ(s.motionWakeup, 1);

    Send(*dev, Command(0x0F, {0xFF}));
    s = sim.State();
    EXPECT_EQ(s.factoryResets, 1);
    EXPECT_FALSE(s.dpi);
    EXPECT_FALSE(s.buttons[0]);
    EXPECT_EQ(s.validWrites, 10);
}

TEST_F(SimFixture, ReassemblesMacrosFromTheirPackets) {
    auto dev = Open(SimProduct::B, SimInterface::Feature);
    // 'A' pressed with a 50 ms pause, then released; 60 bytes in packets of 26, 26 and 11.
    Bytes steps = {0x30, 0x32, 0x04, 0xB0, 0x00, 0x04};
    steps.resize(60, 0x11);
    for (const Bytes& p : MacroPackets(2, steps, 60)) Send(*dev, p);
    SimMacro m = sim.State().macros.at(2);
    EXPECT_TRUE(m.complete);
    EXPECT_EQ(m.packetsReceived, 3);
    EXPECT_EQ(m.data, steps);
    auto decoded = m.Steps();
    ASSERT_EQ(decoded.size(), 20u);
    EXPECT_EQ(decoded[0].type, 3);
    EXPECT_EQ(decoded[0].pauseMs, 50);
    EXPECT_EQ(decoded[0].value, 0x04);
    EXPECT_FALSE(decoded[0].release);
    EXPECT_TRUE(decoded[1].release);

    // An empty macro still goes out as one packet, and replaces index 2.
    Send(*dev, MacroPackets(2, {}, 0)[0]);
    EXPECT_TRUE(sim.State().macros.at(2).complete);
    EXPECT_TRUE(sim.State().macros.at(2).data.empty());

    // 50 bytes: the second packet is full yet the last.
    for (const Bytes& p : MacroPackets(3, Bytes(50, 0x22), 50)) Send(*dev, p);
    EXPECT_TRUE(sim.State().macros.at(3).complete);

    // A lost packet: the next one is rejected and the macro stays incomplete.
    auto packets = MacroPackets(5, Bytes(60, 0x55), 60);
    Send(*dev, packets[0]);
    ASSERT_TRUE(dev->SetFeature(packets[2].data(), 33));
    EXPECT_NE(sim.Trace().back().problem.find("out of order"), std::string::npos);
    EXPECT_FALSE(sim.State().macros.at(5).complete);
}

TEST_F(SimFixture, LongMacrosSurviveThePacketNumberWrap) {
    auto dev = Open(SimProduct::A, SimInterface::Feature);
    // 420 bytes: 17 packets, the 17th numbered 0 again with count nibble 1.
    Bytes steps(420);
    for (size_t i = 0; i < steps.size(); ++i) steps[i] = uint8_t(i * 7);
    auto packets = MacroPackets(1, steps, 420);
    ASSERT_EQ(packets[16][5], 0x01);
    for (size_t k = 0; k < packets.size(); ++k) {
        Send(*dev, packets[k]);
        // After one packet, count nibble 1 could mean a one-packet macro.
        EXPECT_EQ(sim.State().macros.at(1).complete, k == 0 || k == 16) << k;
    }
    EXPECT_EQ(sim.State().macros.at(1).data, steps);

    // Exactly 16 full packets (count nibble 0): a packet numbered 0 after them
    // starts a new upload instead of extending this one.
    for (const Bytes& p : MacroPackets(4, Bytes(400, 0x33), 400)) Send(*dev, p);
    EXPECT_TRUE(sim.State().macros.at(4).complete);
    Send(*dev, MacroPackets(4, Bytes(3, 0x44), 3)[0]);
    EXPECT_EQ(sim.State().macros.at(4).data, Bytes(3, 0x44));
}

TEST_F(SimFixture, AnswersTheStatusRequest) {
    sim.SetStatus({0x60, 40, 2});
    auto dev = Open(SimProduct::A, SimInterface::Feature);
    const Bytes request = Command(0x20, {}, 0x7E);
    Bytes answer(33, 0xFF);
    auto ask = [&] {
        EXPECT_TRUE(dev->SetFeature(request.data(), 33));
        std::fill(answer.begin(), answer.end(), 0xFF);
        answer[0] = 0x0C;
        EXPECT_TRUE(dev->GetFeature(answer.data(), answer.size()));
    };
    ask();
    Bytes expected(33, 0);
    expected[0] = 0x0C;
    expected[1] = 0x01;
    expected[2] = 0x20;
    expected[4] = 0x7E;
    expected[6] = 13;
    expected[15] = 0x60;
    expected[18] = 40;
    expected[19] = 2;
    EXPECT_EQ(answer, expected);
    EXPECT_EQ(sim.State().statusRequests, 1);

    sim.AnswerEmptyStatus(2);
    for (int i = 0; i < 3; ++i) {
        ask();
        EXPECT_EQ(answer[6] != 0, i == 2) << i;
        EXPECT_EQ(answer[15], i == 2 ? 0x60 : 0) << i;
    }

    Bytes wrong = With(expected, 2, 0x21);
    sim.SetRawStatusAnswer(wrong);
    ask();
    EXPECT_EQ(answer, wrong);
    answer[0] = 0x05;  // a report id the mouse does not have
    EXPECT_FALSE(dev->GetFeature(answer.data(), answer.size()));
}

TEST_F(SimFixture, UnplugKillsHandlesForGoodAndReplugNotifies) {
    std::vector<std::pair<bool, std::string>> events;
    sim.SetChangeCallback([&](bool arrived, const std::string& path) { events.push_back({arrived, path}); });
    auto feature = Open(SimProduct::A, SimInterface::Feature);
    auto input = Open(SimProduct::A, SimInterface::Input);
    auto otherProduct = Open(SimProduct::B, SimInterface::Feature);
    const Bytes r = Command(0x07, {2});

    sim.Unplug(SimProduct::A);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2], std::make_pair(false, std::string("sim:A:feature")));
    EXPECT_EQ(sim.Enumerate().size(), 3u);
    std::string error;
    EXPECT_EQ(sim.Open("sim:A:feature", &error), nullptr);
    Bytes buf(33);
    size_t got = 99;
    EXPECT_EQ(input->Read(buf.data(), buf.size(), &got), HidReadResult::Gone);
    EXPECT_EQ(got, 0u);
    EXPECT_FALSE(feature->SetFeature(r.data(), 33));
    EXPECT_FALSE(feature->LastError().empty());
    EXPECT_TRUE(otherProduct->SetFeature(r.data(), 33));
    EXPECT_FALSE(sim.ReportDeviceChange(SimProduct::A, 4, 1));

    sim.Plug(SimProduct::A);
    ASSERT_EQ(events.size(), 6u);
    EXPECT_TRUE(events[5].first);
    EXPECT_FALSE(feature->SetFeature(r.data(), 33));  // the old handle stays dead
    EXPECT_TRUE(Open(SimProduct::A, SimInterface::Feature)->SetFeature(r.data(), 33));
    sim.SetChangeCallback(nullptr);
    sim.Unplug(SimProduct::A);
    EXPECT_EQ(events.size(), 6u);
}

TEST_F(SimFixture, ABlockedReadEndsWhenCancelledOrUnplugged) {
    Bytes buf(33);
    size_t got = 0;
    HidReadResult result = HidReadResult::Report;
    auto input = Open(SimProduct::B, SimInterface::Input);
    std::thread reader([&] { result = input->Read(buf.data(), buf.size(), &got); });
    ASSERT_TRUE(sim.WaitForReaders(SimProduct::B));
    input->CancelRead();
    reader.join();
    EXPECT_EQ(result, HidReadResult::Cancelled);

    auto early = Open(SimProduct::B, SimInterface::Input);
    early->CancelRead();  // a cancel before the read is not lost
    EXPECT_EQ(early->Read(buf.data(), buf.size(), &got), HidReadResult::Cancelled);

    auto third = Open(SimProduct::B, SimInterface::Input);
    std::thread gone([&] { result = third->Read(buf.data(), buf.size(), &got); });
    ASSERT_TRUE(sim.WaitForReaders(SimProduct::B));
    sim.Unplug(SimProduct::B);
    gone.join();
    EXPECT_EQ(result, HidReadResult::Gone);
}

TEST_F(SimFixture, ReportsDpiButtonAndPollingChangesToABlockedReader) {
    auto feature = Open(SimProduct::A, SimInterface::Feature);
    Send(*feature, With(With(Command(0x05, Bytes(18, 0)), 7, 0x33), 8, 0x07));  // 3 levels, at the third
    Send(*feature, Command(0x07, {2}));

    auto input = Open(SimProduct::A, SimInterface::Input);
    Bytes buf(64);
    size_t got = 0;
    HidReadResult result = HidReadResult::Error;
    std::thread reader([&] { result = input->Read(buf.data(), buf.size(), &got); });
    ASSERT_TRUE(sim.WaitForReaders(SimProduct::A));
    ASSERT_TRUE(sim.PressDpiButton(SimProduct::A));
    reader.join();
    ASSERT_EQ(result, HidReadResult::Report);
    ASSERT_EQ(got, 33u);
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 5), (Bytes{0x05, 0x06, 0x00, 0x02, 0x01}));  // wrapped to 1
    EXPECT_EQ(sim.State().dpi->currentOrdinal, 1);

    ASSERT_TRUE(sim.ChangePolling(SimProduct::A, 8));
    ASSERT_TRUE(sim.PressDpiButton(SimProduct::A));
    ASSERT_EQ(input->Read(buf.data(), buf.size(), &got), HidReadResult::Report);
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 5), (Bytes{0x05, 0x06, 0x00, 0x08, 0x01}));
    ASSERT_EQ(input->Read(buf.data(), buf.size(), &got), HidReadResult::Report);
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + 5), (Bytes{0x05, 0x06, 0x00, 0x08, 0x02}));
}

TEST_F(SimFixture, InjectedFailuresNeverReachTheState) {
    auto dev = Open(SimProduct::A, SimInterface::Feature);
    sim.FailNextWrites(2);
    EXPECT_FALSE(dev->SetFeature(Command(0x0A, {4}).data(), 33));
    EXPECT_TRUE(sim.Trace().back().failed);
    EXPECT_FALSE(dev->SetFeature(Command(0x0A, {4}).data(), 33));
    EXPECT_FALSE(dev->LastError().empty());
    EXPECT_FALSE(sim.State().debounce);
    Send(*dev, Command(0x0A, {4}));

    sim.FailAllWrites(true);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(dev->SetFeature(Command(0x0A, {9}).data(), 33));
    EXPECT_EQ(sim.State().debounce, 4);
    sim.FailAllWrites(false);
    Send(*dev, Command(0x0A, {9}));
    EXPECT_EQ(sim.AcceptedWrites().size(), 2u);

    sim.FailNextReads(1);
    Bytes answer = Command(0x20, {});
    EXPECT_FALSE(dev->GetFeature(answer.data(), 33));
    EXPECT_TRUE(dev->GetFeature(answer.data(), 33));
}

TEST_F(SimFixture, TraceCarriesVirtualTimestampsOfPacedWrites) {
    auto dev = Open(SimProduct::A, SimInterface::Feature);
    clock.Advance(1000);
    for (uint8_t seq = 1; seq <= 3; ++seq) {
        Send(*dev, Command(0x0C, {1}, seq));
        clock.SleepMs(60);  // what the device I/O thread does after every report
    }
    ASSERT_TRUE(sim.ReportDeviceChange(SimProduct::A, 1, 1));
    auto t = sim.Trace();
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].timeMs, 1000);
    EXPECT_EQ(t[2].timeMs, 1120);
    EXPECT_EQ(t[3].kind, SimTraceEntry::Kind::Input);
    EXPECT_EQ(t[3].problem, "nobody was reading");

    // Numbers run on across interfaces and wrap; a skipped one is counted.
    auto b = Open(SimProduct::B, SimInterface::Feature);
    EXPECT_EQ(sim.State().sequenceBreaks, 0);
    Send(*b, Command(0x0C, {1}, 4));
    EXPECT_EQ(sim.State().sequenceBreaks, 0);
    Send(*b, Command(0x0C, {1}, 6));
    EXPECT_EQ(sim.State().sequenceBreaks, 1);
    Send(*b, Command(0x0C, {1}, 255));
    Send(*b, Command(0x0C, {1}, 0));
    EXPECT_EQ(sim.State().sequenceBreaks, 2);
}

TEST_F(SimFixture, WriterAndListenerThreadsRunTogether) {
    // The device I/O thread writes while the listener reads (ThreadSanitizer watches this one).
    auto feature = Open(SimProduct::A, SimInterface::Feature);
    auto input = Open(SimProduct::A, SimInterface::Input);
    constexpr int kReports = 200;
    int received = 0;
    std::thread listener([&] {
        Bytes buf(33);
        size_t got = 0;
        while (received < kReports && input->Read(buf.data(), buf.size(), &got) == HidReadResult::Report)
            ++received;
    });
    std::thread writer([&] {
        for (int i = 0; i < kReports; ++i) feature->SetFeature(Command(0x0A, {uint8_t(i)}, uint8_t(i)).data(), 33);
    });
    ASSERT_TRUE(sim.WaitForReaders(SimProduct::A));
    for (int i = 0; i < kReports; ++i) sim.ReportDeviceChange(SimProduct::A, 1, 1);
    writer.join();
    listener.join();
    EXPECT_EQ(received, kReports);
    EXPECT_EQ(sim.State().validWrites, kReports);
}

}  // namespace
