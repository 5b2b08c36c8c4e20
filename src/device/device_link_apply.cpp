// The device link's half that talks to the mouse: the last-sent images,
// the senders and the apply sequence (window thread).
#include "device/device_link.h"

#include <algorithm>
#include <cstring>

#include "profile/profile_record.h"

// --- protocol ------------------------------------------------------------

platform::IHidDevice* DeviceLink::ChosenHandle() const { return ChosenHandleShared().get(); }

std::shared_ptr<platform::IHidDevice> DeviceLink::ChosenHandleShared() const
{
    return products_[kProductA].handle ? products_[kProductA].handle : products_[kProductB].handle;
}

bool DeviceLink::StoreImage(ImageId id, const uint8_t* fresh, size_t n)
{
    SentImage& img = images_[id];
    const bool changed = !img.known || std::memcmp(img.bytes.data(), fresh, n) != 0;
    std::memcpy(img.bytes.data(), fresh, n);
    img.known = true;
    ++img.generation;
    return changed;
}

void DeviceLink::Write(ImageId id, const FeatureReport& report)
{
    sentSomething = true;
    ++reportsThisApply_;
    ++writesInFlight_;
    ++inFlight_[id];
    const uint32_t generation = images_[id].generation;
    IDeviceHost* host = &host_;
    std::shared_ptr<bool> alive = alive_;
    io_->EnqueueWrite(ChosenHandleShared(), report, [this, host, alive, id, generation](bool ok) {
        host->PostToWindowThread([this, alive, id, generation, ok] {
            if (!*alive)
                return;
            --inFlight_[id];
            if (!ok && images_[id].generation == generation)
                images_[id].known = false;
            if (--writesInFlight_ == 0)
                OnWritesDrained();
        });
    });
}

bool DeviceLink::Writing() const
{
    // The count falls only as the window thread hears of each write; a queue
    // that is already empty has nothing left to wait for.
    return writesInFlight_ > 0 && io_->Pending() > 0;
}

void DeviceLink::OnWritesDrained()
{
    if (applyWaiting_) {
        applyWaiting_ = false;
        ApplyToDevice();
        if (writesInFlight_ > 0)
            return;  // the waiting changes went out in a new batch: its end is the one that counts
    }
    host_.OnDeviceWritesDone();
}

void DeviceLink::PrimeSentImages()
{
    const ProfileRecord& p = ActiveProfile();
    const KeyImage keys = BuildKeyImage(p);
    for (int i = 0; i < 8; ++i)
        StoreImage(ImageId(kImgKey0 + i), &keys[2 + 3 * i], 3);
    const DpiImage dpi = BuildDpiImage(p);
    StoreImage(kImgDpi, dpi.data(), dpi.size());
    const DpiColourImage colours = BuildDpiColourImage(p);
    StoreImage(kImgDpiColour, colours.data(), colours.size());
    uint8_t b = BuildPollingByte(p);
    StoreImage(kImgPolling, &b, 1);
    b = BuildLiftOffByte(p);
    StoreImage(kImgLiftOff, &b, 1);
    b = BuildDebounceByte(p);
    StoreImage(kImgDebounce, &b, 1);
    // The primed lighting image keeps byte 3 of mode 7, which the sent one
    // clears: with a first colour that has red, the first apply sends it once.
    const LightingImage light = BuildLightingImage(p, false);
    StoreImage(kImgLighting, light.data(), std::min<size_t>(size_t(light[0]) + 1, kLightingImageSize));
    const auto power = BuildPowerBytes(p);
    StoreImage(kImgPower, power.data(), power.size());
    b = BuildWakeByte(p);
    StoreImage(kImgWake, &b, 1);
    AssignMacroSlots();
    UploadMacros(false);
}

void DeviceLink::AdoptReportedState(const ProfileRecord& before)
{
    // Only the DPI and polling images, and only when they held exactly what
    // the profile held before the report: a change of the user's that has not
    // gone out yet (in those images or any other) must still go out.
    const DpiImage dpiBefore = BuildDpiImage(before);
    const DpiImage dpiNow = BuildDpiImage(ActiveProfile());
    AdoptReportedImage(kImgDpi, dpiBefore.data(), dpiNow.data(), dpiNow.size());
    const uint8_t pollingBefore = BuildPollingByte(before);
    const uint8_t pollingNow = BuildPollingByte(ActiveProfile());
    AdoptReportedImage(kImgPolling, &pollingBefore, &pollingNow, 1);
}

void DeviceLink::AdoptReportedImage(ImageId id, const uint8_t* before, const uint8_t* now, size_t n)
{
    SentImage& image = images_[id];
    if (std::memcmp(before, now, n) == 0)
        return;
    if (inFlight_[id] > 0) {
        // A report of the old state is still on its way (the start-up apply,
        // say) and would undo the mouse's change: the new state goes after it.
        image.known = false;
        ++image.generation;
        Schedule(PendingGroup::DpiAndMore);
        host_.StartTimer(kTimerApply, kApplyDelayMs);
        return;
    }
    if (image.known && std::memcmp(image.bytes.data(), before, n) == 0)
        StoreImage(id, now, n);
}

void DeviceLink::SendKeyAssignments()
{
    if (!ChosenHandle())
        return;
    const KeyImage keys = BuildKeyImage(ActiveProfile());
    bool changed[8];
    for (int i = 0; i < 8; ++i)
        changed[i] = StoreImage(ImageId(kImgKey0 + i), &keys[2 + 3 * i], 3);
    // The mouse takes one button per report; a button that did not change
    // costs nothing, not even a pause.
    for (int i = 0; i < 8; ++i)
        if (changed[i])
            Write(ImageId(kImgKey0 + i), BuildKeyReport(i, &keys[2 + 3 * i]));
}

void DeviceLink::SendSensorSettings()
{
    if (!ChosenHandle())
        return;
    const ProfileRecord& p = ActiveProfile();
    const DpiImage dpi = BuildDpiImage(p);
    const DpiColourImage colours = BuildDpiColourImage(p);
    const uint8_t polling = BuildPollingByte(p);
    const uint8_t lift = BuildLiftOffByte(p);
    const uint8_t debounce = BuildDebounceByte(p);
    const LightingImage light = BuildLightingImage(p, true);
    const bool dpiChanged = StoreImage(kImgDpi, dpi.data(), dpi.size());
    const bool coloursChanged = StoreImage(kImgDpiColour, colours.data(), colours.size());
    const bool pollingChanged = StoreImage(kImgPolling, &polling, 1);
    const bool liftChanged = StoreImage(kImgLiftOff, &lift, 1);
    const bool debounceChanged = StoreImage(kImgDebounce, &debounce, 1);
    // Only the bytes the new length covers count, and only they are kept.
    const bool lightChanged =
        StoreImage(kImgLighting, light.data(), std::min<size_t>(size_t(light[0]) + 1, kLightingImageSize));
    if (dpiChanged)
        Write(kImgDpi, BuildDpiReport(dpi));
    if (coloursChanged)
        Write(kImgDpiColour, BuildDpiColourReport(colours));
    if (pollingChanged)
        Write(kImgPolling, BuildOneByteReport(kCmdPollingRate, polling));
    if (liftChanged)
        Write(kImgLiftOff, BuildLiftOffReport(lift));
    if (debounceChanged)
        Write(kImgDebounce, BuildOneByteReport(kCmdDebounce, debounce));
    if (lightChanged)
        Write(kImgLighting, BuildLightingReport(light));
}

void DeviceLink::SendPowerSettings()
{
    if (!ChosenHandle())
        return;
    const auto power = BuildPowerBytes(ActiveProfile());
    if (StoreImage(kImgPower, power.data(), power.size()))
        Write(kImgPower, BuildPowerReport(power));
}

void DeviceLink::SendWakeSetting()
{
    if (!ChosenHandle())
        return;
    const uint8_t wake = BuildWakeByte(ActiveProfile());
    if (StoreImage(kImgWake, &wake, 1))
        Write(kImgWake, BuildOneByteReport(kCmdWakeUp, wake));
}

void DeviceLink::SendFactoryReset()
{
    if (std::shared_ptr<platform::IHidDevice> handle = ChosenHandleShared())
        io_->EnqueueWrite(std::move(handle), BuildFactoryResetReport());
}

void DeviceLink::QueryDeviceStatus()
{
    std::shared_ptr<platform::IHidDevice> handle = ChosenHandleShared();
    if (!handle)
        return;
    IDeviceHost* host = &host_;
    std::shared_ptr<bool> alive = alive_;
    io_->EnqueueStatusQuery(std::move(handle), [this, host, alive](const FeatureReport& answer) {
        host->PostToWindowThread([this, alive, answer] {
            if (*alive)
                HandleStatusAnswer(answer);
        });
    });
}

void DeviceLink::AssignMacroSlots() { ::AssignMacroSlots(ActiveProfile(), SlotPassMacros(), macroSlotOf); }

void DeviceLink::UploadMacros(bool send)
{
    const MacroSet* set = SlotPassMacros();
    if (!set || set->macroNum() < 1)
        return;
    const bool canSend = ChosenHandle() != nullptr;
    int i = 0;
    for (const MacroKey& macro : set->macros) {
        const int slot = i < int(macroSlotOf.size()) ? macroSlotOf[i] : -1;
        ++i;
        if (slot < 0 || slot >= kMacroDeviceIndexes)
            continue;
        // A macro only counts as sent once it could be: assigned while the
        // mouse is away, it must still go out when the mouse comes back.
        if (send && !canSend)
            continue;
        const uint8_t index = uint8_t(slot + 1);
        const ImageId id = ImageId(kImgMacro1 + slot);
        const MacroImage image = BuildMacroImage(macro, index);
        const bool changed = StoreImage(id, image.data(), image.size());
        if (!send)
            continue;
        if (changed)
            for (const MacroPacket& packet : BuildMacroPackets(image, index, macro.commandActionNum))
                Write(id, packet);
    }
}

void DeviceLink::ApplyToDevice()
{
    // Changes made while a batch is still going out wait for its end and
    // then go out together, compared with what that batch sent: eight quick
    // profile switches cost one switch after the one under way, not eight.
    if (Writing()) {
        applyWaiting_ = true;
        return;
    }
    RunApply();
}

void DeviceLink::FlushApply()
{
    if (!applyWaiting_)
        return;
    applyWaiting_ = false;
    RunApply();
}

void DeviceLink::ApplyWholeProfile()
{
    // The mouse may hold anything (set up elsewhere, reset): nothing it was
    // sent counts any more. A level or rate the mouse reported of itself is
    // in the profile already, so it goes out as the mouse has it.
    for (SentImage& image : images_) {
        image.known = false;
        ++image.generation;
    }
    for (PendingGroup g : {PendingGroup::Keys, PendingGroup::DpiAndMore, PendingGroup::Power, PendingGroup::Wake})
        Schedule(g);
    suppressProgress = false;
    ApplyToDevice();
}

void DeviceLink::RunApply()
{
    sentSomething = false;
    reportsThisApply_ = 0;
    AssignMacroSlots();
    if (IsScheduled(PendingGroup::Keys))
        SendKeyAssignments();
    if (IsScheduled(PendingGroup::DpiAndMore))
        SendSensorSettings();
    if (IsScheduled(PendingGroup::Power))
        SendPowerSettings();
    if (IsScheduled(PendingGroup::Wake))
        SendWakeSetting();
    ClearSchedule();
    UploadMacros(true);
    // Only a transfer the user would wait for shows its progress.
    if (sentSomething && !suppressProgress && reportsThisApply_ * kReportPacingMs > kProgressAboveMs) {
        statusTickCount = 0;
        host_.ShowProgress(kProgressTextNumber);
    }
    suppressProgress = false;
    // Saved once what was queued here has gone out (or at once when nothing
    // was): the files never hold what the mouse has not been sent.
    saveScheduled = true;
    host_.StartTimer(kTimerSave, kSaveQuietMs);
    host_.RefreshFromProfile();
}
