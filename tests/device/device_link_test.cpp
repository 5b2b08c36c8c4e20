#include "device/device_link.h"

#include "device_test_support.h"

namespace {

using platform::SimProduct;
using Kind = platform::SimTraceEntry::Kind;

// A button that plays the library macro `name`, as an assignment leaves it:
// the label shown and the button's own copy of the macro, which names it.
ButtonSlot MacroButton(const std::u16string& label, const std::u16string& name, ButtonFunctionCode code)
{
    ButtonSlot b{label, code, {}};
    b.macro.name = name;
    return b;
}

std::vector<platform::SimTraceEntry> WritesIn(const std::vector<platform::SimTraceEntry>& trace)
{
    std::vector<platform::SimTraceEntry> out;
    for (const auto& e : trace)
        if (e.kind == Kind::FeatureWrite)
            out.push_back(e);
    return out;
}

// --- discovery ---------------------------------------------------------------

struct BothProducts : LinkTest {
    BothProducts() : LinkTest(true, true) {}
};

TEST_F(BothProducts, TwoListenersAndEveryWriteOnA)
{
    StartUp();
    EXPECT_TRUE(link->presentA() && link->presentB() && link->anyPresent);
    EXPECT_TRUE(sim.WaitForReaders(SimProduct::A));
    EXPECT_TRUE(sim.WaitForReaders(SimProduct::B));
    EXPECT_TRUE(link->Product(kProductA).handle && link->Product(kProductB).handle);
    Active().buttons[0].code = {0x10, 0x02, 0};
    Active().DPILevelIndication[0] = 0x123456;
    ApplyAll();
    const auto writes = WritesIn(sim.Trace());
    ASSERT_EQ(writes.size(), 2u);
    for (const auto& w : writes)
        EXPECT_EQ(w.product, SimProduct::A);
    EXPECT_EQ(host.timers.at(kTimerStatus), 1000);
}

TEST_F(BothProducts, UnplugAndPlugAgainThenLastInterfaceEndsTheProgram)
{
    StartUp();
    sim.Unplug(SimProduct::B);
    host.Pump();
    host.Pump();  // the listener's end notice, if it came after the scan
    EXPECT_TRUE(link->presentA());
    EXPECT_FALSE(link->presentB());
    EXPECT_FALSE(link->Product(kProductB).handle);
    EXPECT_FALSE(link->Product(kProductB).listenerBusy);
    EXPECT_TRUE(link->Product(kProductB).featurePath.empty());
    EXPECT_EQ(host.endings, 0);

    host.timers.clear();
    sim.Plug(SimProduct::B);
    host.Pump();
    EXPECT_TRUE(link->presentB());
    EXPECT_TRUE(link->Product(kProductB).handle);
    EXPECT_TRUE(link->Product(kProductB).listenerBusy);
    EXPECT_TRUE(sim.WaitForReaders(SimProduct::B));
    // The scan schedules a quiet apply.
    EXPECT_EQ(host.timers.count(kTimerApply), 1u);
    EXPECT_TRUE(link->suppressProgress);

    sim.Unplug(SimProduct::A);
    sim.Unplug(SimProduct::B);
    host.Pump();
    EXPECT_FALSE(link->anyPresent);
    EXPECT_TRUE(link->needStatusQuery);
    EXPECT_EQ(host.endings, 1);
}

struct OnlyB : LinkTest {
    OnlyB() : LinkTest(false, true) {}
};

TEST_F(OnlyB, ScannedTwiceKeepsItsHandle)
{
    StartUp();
    const auto handle = link->Product(kProductB).handle;
    ASSERT_TRUE(handle);
    link->ScanDevices();
    EXPECT_EQ(link->Product(kProductB).handle, handle);
    EXPECT_TRUE(link->presentB());
    EXPECT_FALSE(link->presentA());
    EXPECT_FALSE(link->Product(kProductA).handle);
    Active().buttons[1].code = {0, 0, 0};
    ApplyAll();
    const auto writes = WritesIn(sim.Trace());
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].product, SimProduct::B);
}

TEST_F(LinkTest, InterfaceWithBothLengthsIsTheInputOne)
{
    backend.before = {Iface("x:A:both", kMouseProductA, 33, 33)};
    Link().ScanDevices();
    EXPECT_EQ(link->Product(kProductA).inputPath, "x:A:both");
    EXPECT_EQ(link->Product(kProductA).featurePath, platform::SimPath(SimProduct::A, platform::SimInterface::Feature));
    EXPECT_TRUE(link->Product(kProductA).listenerBusy);
}

TEST_F(LinkTest, SecondMouseOfTheSameProductIsIgnored)
{
    Link().ScanDevices();
    const auto handle = link->Product(kProductA).handle;
    backend.before = {Iface("y:A:feature", kMouseProductA, 0, 33)};
    link->ScanDevices();
    EXPECT_EQ(link->Product(kProductA).featurePath, platform::SimPath(SimProduct::A, platform::SimInterface::Feature));
    EXPECT_EQ(link->Product(kProductA).handle, handle);
    EXPECT_EQ(link->Product(kProductA).featureMember, 3);  // it moved down one place
}

struct NoMouse : LinkTest {
    NoMouse() : LinkTest(false, false) {}
};

TEST_F(NoMouse, AnotherProductOfTheVendorIsIgnored)
{
    backend.before = {Iface("z:input", 0x5B30, 33, 0), Iface("z:feature", 0x5B30, 0, 33)};
    Link().ScanDevices();
    EXPECT_FALSE(link->anyPresent);
    EXPECT_EQ(host.timers.count(kTimerStatus), 0u);
    EXPECT_FALSE(link->Product(kProductA).listenerBusy);
}

// --- the apply sequence --------------------------------------------------------

TEST_F(LinkTest, OnlyButtonThreeChangedSendsDeviceIndexFour)
{
    StartUp();
    Active().buttons[3].code = {0x70, 0x00, 0x04};
    ApplyAll();
    const auto w = Writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(std::vector<uint8_t>(w[0].begin(), w[0].begin() + 11),
              (std::vector<uint8_t>{0x0C, 0x01, 0x04, 0x00, w[0][4], 0x01, 0x04, 0x04, 0x70, 0x00, 0x04}));
    EXPECT_TRUE(host.progress.empty()) << "one report needs no progress display";
    EXPECT_EQ(host.timers.at(kTimerSave), kSaveQuietMs);
    EXPECT_TRUE(link->saveScheduled);
    // Nothing changed since: every group compares equal.
    ApplyAll();
    EXPECT_EQ(Writes().size(), 1u);
    EXPECT_TRUE(host.progress.empty());
    for (PendingGroup g : {PendingGroup::Keys, PendingGroup::DpiAndMore, PendingGroup::Power, PendingGroup::Wake})
        EXPECT_FALSE(link->IsScheduled(g));
}

TEST_F(LinkTest, ModeSevenWithRedFirstColourIsSentOnceAfterPriming)
{
    Active().lighting.Lighting1ModeValue[0] = 7;
    Active().lighting.Lighting1FixedColor[7][0] = Rgb(0x80, 0, 0);
    StartUp();  // primes, then the scan's apply sends the lighting once
    Link().PrimeSentImages();
    ApplyAll();
    auto w = Writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0][2], kCmdLighting);
    EXPECT_EQ(w[0][6], 0x17);
    EXPECT_EQ(w[0][9], 0x00);
    ApplyAll();
    EXPECT_EQ(Writes().size(), 1u);
}

TEST_F(LinkTest, FailedWriteIsSentAgainByTheNextApply)
{
    StartUp();
    Active().DPILevelIndication[2] = Rgb(1, 2, 3);
    Active().settings[kSetMotionWakeup].value = u"0";
    sim.FailNextWrites(1);
    ApplyAll();
    ASSERT_EQ(Writes().size(), 1u);  // the colours failed, the wake-up went through
    EXPECT_EQ(Writes()[0][2], kCmdWakeUp);
    ApplyAll();
    ASSERT_EQ(Writes().size(), 2u);
    EXPECT_EQ(Writes()[1][2], kCmdDpiColours);
    EXPECT_EQ(Writes()[1][13], 1);
    ApplyAll();
    EXPECT_EQ(Writes().size(), 2u);
}

TEST_F(NoMouse, MacroAssignedWhileTheMouseIsAwayReachesItLater)
{
    g_uiTexts[190] = u"Macro: ";
    library.AppendSet(u"Set 1");
    library.AppendMacro(*library.SetAt(0), u"go");
    MacroKey& m = *library.MacroAt(*library.SetAt(0), 0);
    m.InsertAction(0, MacroAction::Key(0x41, false));
    m.InsertAction(1, MacroAction::Key(0x41, true));
    m.commandActionNum = 2;
    StartUp();
    Active().buttons[2] = MacroButton(u"Macro: go", u"go", {0x90, 0x01, 0x01});
    ApplyAll();
    EXPECT_FALSE(link->Image(DeviceLink::kImgMacro1).known);

    sim.Plug(SimProduct::A);
    host.Pump();
    link->ApplyToDevice();  // timer 30
    Settle();
    const auto macros = sim.State().macros;
    ASSERT_EQ(macros.count(1), 1u);
    EXPECT_EQ(macros.at(1).data, (std::vector<uint8_t>{0x30, 0, 0x04, 0xB0, 0, 0x04}));
    EXPECT_EQ(sim.State().buttons[2], (std::array<uint8_t, 3>{0x90, 0x21, 0x01}));
    g_uiTexts[190].clear();
}

// --- pacing --------------------------------------------------------------------

// A feature interface that notes when each report arrived.
struct RecordingDevice : platform::IHidDevice {
    explicit RecordingDevice(platform::IClock& c) : clock(c) {}
    bool SetFeature(const uint8_t*, size_t) override
    {
        at.push_back(clock.NowMs());
        return !failNext || (failNext = false);
    }
    bool GetFeature(uint8_t*, size_t) override { return false; }
    platform::HidReadResult Read(uint8_t*, size_t, size_t*) override { return platform::HidReadResult::Cancelled; }
    void CancelRead() override {}
    std::string LastError() const override { return {}; }
    platform::IClock& clock;
    std::vector<int64_t> at;
    bool failNext = false;
};

// The spacing runs from the previous report that went through, whichever
// batch queued it: time that passed meanwhile counts, and a failed write
// is no report.
TEST(DeviceIoPacing, SpacingCountsFromThePreviousReport)
{
    platform::VirtualClock clock;
    auto dev = std::make_shared<RecordingDevice>(clock);
    DeviceIoThread io(clock);
    const FeatureReport r{};
    io.EnqueueWrite(dev, r);
    io.EnqueueWrite(dev, r);
    io.WaitUntilIdle();
    clock.Advance(25);  // 85: 35 ms of the spacing left
    io.EnqueueWrite(dev, r);
    io.WaitUntilIdle();
    clock.Advance(200);  // 320: idle long enough
    dev->failNext = true;
    io.EnqueueWrite(dev, r);
    io.EnqueueWrite(dev, r);
    io.WaitUntilIdle();
    EXPECT_EQ(dev->at, (std::vector<int64_t>{0, 60, 120, 320, 320}));
    EXPECT_EQ(clock.NowMs(), 320) << "nothing waits after a report";
}

// Reports keep 60 ms between them, within an apply and across applies, and
// nothing waits where no report goes: not for an unchanged button or macro,
// not after the last report.
TEST_F(LinkTest, ReportsAreSixtyMillisecondsApartAndNothingWaitsForNothing)
{
    library.AppendSet(u"Set 1");
    library.AppendMacro(*library.SetAt(0), u"same");
    library.AppendMacro(*library.SetAt(0), u"m");
    MacroKey& m = *library.MacroAt(*library.SetAt(0), 1);
    for (int i = 0; i < 20; ++i)
        m.InsertAction(i, MacroAction::Key(uint8_t(0x41 + i), false));
    m.commandActionNum = 20;
    Active().buttons[1] = MacroButton(u"same", u"same", {0x90, 0x01, 0x01});
    StartUp();
    clock.Advance(100);  // the start-up's reports are long gone
    Active().buttons[7].code = {0x10, 0x02, 0};
    const int64_t t0 = clock.NowMs();
    link->Schedule(PendingGroup::Keys);
    link->ApplyToDevice();
    Settle();
    EXPECT_EQ(clock.NowMs(), t0) << "one report goes at once, and nothing waits after it";

    Active().buttons[0].code = {0x10, 0x04, 0};
    Active().buttons[5] = MacroButton(u"m", u"m", {0x90, 0x01, 0x01});
    Active().DPILevelIndication[0] = 0;
    Active().settings[kSetKeyDebounce].value = u"4";
    link->Schedule(PendingGroup::Keys);
    link->Schedule(PendingGroup::DpiAndMore);
    link->ApplyToDevice();
    Settle();
    link->QueryDeviceStatus();
    Settle();
    std::vector<int64_t> t;
    for (const auto& e : WritesIn(sim.Trace()))
        t.push_back(e.timeMs - t0);
    // Button 8 alone; then buttons 1 and 6 (60 ms after the first apply's
    // report), colours, debounce, three packets of the changed macro (the
    // unchanged one costs nothing), and the status request.
    EXPECT_EQ(t, (std::vector<int64_t>{0, 60, 120, 180, 240, 300, 360, 420, 480}));
    const auto trace = sim.Trace();
    EXPECT_EQ(trace.back().kind, Kind::FeatureRead);
    EXPECT_EQ(trace.back().timeMs - t0, 490);
    EXPECT_EQ(clock.NowMs() - t0, 490) << "no wait after the last report";
}

TEST_F(LinkTest, ApplyReturnsBeforeTheMouseHasBeenWritten)
{
    library.AppendSet(u"Set 1");
    library.AppendMacro(*library.SetAt(0), u"m");
    library.MacroAt(*library.SetAt(0), 0)->commandActionNum = 30;
    StartUp();
    backend.CloseGate();
    link->Product(kProductA).handle.reset();
    link->OpenHandleA();  // the same interface, now behind the gate
    for (int i = 0; i < 8; ++i)
        Active().buttons[i] = MacroButton(u"m", u"m", {0x90, 0, 0});
    Active().buttons[0].code = {0x10, 0x04, 0};
    Active().XYSettingValue[0] = 9;
    Active().DPILevelIndication[1] = 7;
    Active().PollingRateValue[0] = 0;
    Active().settings[kSetLiftDetectionHeight].value = u"1";
    Active().settings[kSetKeyDebounce].value = u"3";
    Active().lighting.Lighting1ModeValue[0] = 0;
    const int64_t before = clock.NowMs();
    link->Schedule(PendingGroup::Keys);
    link->Schedule(PendingGroup::DpiAndMore);
    link->ApplyToDevice();
    // The window thread is back while the first write still waits at the gate.
    EXPECT_EQ(clock.NowMs(), before);
    EXPECT_GT(link->PendingDeviceIo(), 0u);
    EXPECT_TRUE(Writes().empty());
    backend.OpenGate();
    Settle();
    EXPECT_EQ(Writes().size(), 8u + 6u + 4u);  // 90 macro bytes in four packets
    EXPECT_GE(clock.NowMs() - before, 60 * (8 + 6 + 4 - 1));
}

}  // namespace
