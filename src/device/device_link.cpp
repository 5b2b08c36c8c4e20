#include "device/device_link.h"

#include <algorithm>
#include <cstring>

#include "profile/function_types.h"
#include "base/text_codec.h"
#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"

DeviceLink::DeviceLink(platform::IHidBackend& backend, platform::IClock& clock, IDeviceHost& host,
                       const MacroLibrary& macroLibrary)
    : backend_(backend), host_(host), macroLibrary_(macroLibrary), alive_(std::make_shared<bool>(true)),
      io_(std::make_unique<DeviceIoThread>(clock))
{
    products_[kProductA].productId = kMouseProductA;
    products_[kProductB].productId = kMouseProductB;
    images_[kImgDpi].bytes.resize(kDpiImageSize);
    images_[kImgDpiColour].bytes.resize(kDpiColourImageSize);
    images_[kImgLighting].bytes.resize(kLightingImageSize);
    images_[kImgPower].bytes.resize(2);
    for (int id : {kImgPolling, kImgLiftOff, kImgDebounce, kImgWake})
        images_[id].bytes.resize(1);
    for (int i = 0; i < 8; ++i) {
        images_[kImgKey0 + i].bytes.resize(3);
        images_[kImgMacro1 + i].bytes.resize(kMacroImageSize);
    }
}

DeviceLink::~DeviceLink()
{
    *alive_ = false;
    backend_.SetChangeCallback({});
    for (ProductLink& p : products_)
        p.listener.Stop();
    io_.reset();  // finishes what was queued: an apply just before closing still reaches the mouse
    for (ProductLink& p : products_)
        p.handle.reset();
}

void DeviceLink::Post(std::function<void()> task)
{
    host_.PostToWindowThread([alive = alive_, task = std::move(task)] {
        if (*alive)
            task();
    });
}

ProfileRecord& DeviceLink::ActiveProfile()
{
    return g_profiles[std::clamp(host_.CurrentProfileIndex(), 0, kProfileCount - 1)];
}

const MacroSet* DeviceLink::FirstMacroSet() const { return macroLibrary_.SetAt(0); }

const MacroSet* DeviceLink::SlotPassMacros()
{
    const MacroSet* first = FirstMacroSet();
    auto holds = [](const MacroSet* set, const std::u16string& name) {
        return set && std::any_of(set->macros.begin(), set->macros.end(),
                                  [&](const MacroKey& m) { return m.name == name; });
    };
    bool extended = false;
    for (const ButtonSlot& button : ActiveProfile().buttons) {
        if (button.code.type != kFunctionMacro || button.macro.name.empty())
            continue;
        const std::u16string& name = button.macro.name;
        if (holds(first, name) || (extended && holds(&slotPassMacros_, name)))
            continue;
        for (const MacroSet& set : macroLibrary_.sets()) {
            if (&set == first || !holds(&set, name))
                continue;
            if (!extended)
                slotPassMacros_ = first ? *first : MacroSet{};
            extended = true;
            slotPassMacros_.macros.push_back(
                *std::find_if(set.macros.begin(), set.macros.end(), [&](const MacroKey& m) { return m.name == name; }));
            break;
        }
    }
    return extended ? &slotPassMacros_ : first;
}

// --- discovery -----------------------------------------------------------

void DeviceLink::ResetLinkState()
{
    for (ProductLink& p : products_) {
        p.listenerBusy = false;
        p.handle.reset();
    }
    needStatusQuery = true;
    // Notifications arrive on a backend thread; only the window thread acts on them.
    IDeviceHost* host = &host_;
    std::shared_ptr<bool> alive = alive_;
    backend_.SetChangeCallback([this, host, alive](bool arrived, const std::string& path) {
        host->PostToWindowThread([this, alive, arrived, path] {
            if (*alive)
                OnDeviceChange(arrived, path);
        });
    });
}

void DeviceLink::ProbeInterface(int memberIndex)
{
    if (memberIndex < 0 || memberIndex >= int(scanList_.size()))
        return;
    const platform::HidInterfaceInfo& info = scanList_[memberIndex];
    if (info.vendorId != kMouseVendorId)
        return;
    ProductLink* p = info.productId == kMouseProductA ? &products_[kProductA]
                     : info.productId == kMouseProductB ? &products_[kProductB]
                                                        : nullptr;
    if (!p)
        return;
    // An interface that cannot be opened is no use to us; only new paths are
    // tried, remembered ones are open already or were a moment ago.
    auto openable = [this, &info] {
        std::string error;
        platform::HidOpenProblem problem = platform::HidOpenProblem::None;
        if (backend_.OpenWithReason(info.path, &error, &problem))
            return true;
        lastOpenError = error;
        lastOpenProblem = problem;
        lastOpenPath = info.path;
        return false;
    };
    if (info.inputReportLength == kFeatureReportLength) {
        if (p->inputPath.empty() && openable()) {
            p->inputMember = memberIndex;
            p->inputPath = info.path;
        }
    } else if (info.featureReportLength == kFeatureReportLength) {
        if (p->featurePath.empty()) {
            if (openable()) {
                p->present = true;
                p->featureMember = memberIndex;
                p->featurePath = info.path;
            }
        } else if (p->featurePath == info.path) {
            p->featureMember = memberIndex;
            p->present = true;
        }
        // Another path: a second mouse of the same product, not used.
    }
}

void DeviceLink::ScanDevices()
{
    const bool hadProduct = anyPresent;
    anyPresent = false;
    lastOpenError.clear();
    lastOpenProblem = platform::HidOpenProblem::None;
    lastOpenPath.clear();
    for (ProductLink& p : products_)
        p.present = false;
    scanList_ = backend_.Enumerate();
    for (int i = 0; i < kMaxMemberIndex; ++i)
        ProbeInterface(i);
    anyPresent = presentA() || presentB();

    for (int slot : {kProductA, kProductB}) {
        ProductLink& p = products_[slot];
        if (p.present) {
            StartListener(ProductSlot(slot));
            if (!p.handle)
                OpenHandle(ProductSlot(slot));
        } else {
            p.handle.reset();
            p.featurePath.clear();
            // A reader of a product that is gone would only wait for a read
            // error that some backends never give.
            StopListener(ProductSlot(slot));
        }
    }
    scanList_.clear();

    // The last product is gone: the program ends, whichever scan sees it
    // first (a status tick's scan can come before the removal notices).
    if (hadProduct && !anyPresent) {
        needStatusQuery = true;
        host_.EndProgram();
    }
    if (anyPresent)
        host_.StartTimer(kTimerStatus, kStatusTickMs);
    Schedule(PendingGroup::DpiAndMore);
    Schedule(PendingGroup::Keys);
    Schedule(PendingGroup::Power);
    suppressProgress = true;
    host_.StartTimer(kTimerApply, kApplyDelayMs);
}

void DeviceLink::OpenHandle(ProductSlot slot)
{
    ProductLink& p = products_[slot];
    // By member index, so a fresh enumeration; the vendor and product check
    // catches one that changed since the scan.
    const std::vector<platform::HidInterfaceInfo> list = backend_.Enumerate();
    if (p.featureMember < 0 || p.featureMember >= int(list.size()))
        return;
    const platform::HidInterfaceInfo& info = list[p.featureMember];
    p.handle.reset();
    std::string error;
    platform::HidOpenProblem problem = platform::HidOpenProblem::None;
    std::unique_ptr<platform::IHidDevice> dev = backend_.OpenWithReason(info.path, &error, &problem);
    if (!dev) {
        lastOpenError = error;
        lastOpenProblem = problem;
        lastOpenPath = info.path;
    }
    if (!dev || info.vendorId != kMouseVendorId || info.productId != p.productId)
        return;
    p.handle = std::move(dev);
}

void DeviceLink::StartListener(ProductSlot slot)
{
    ProductLink& p = products_[slot];
    if (p.listenerBusy)
        return;
    if (p.inputPath.empty())
        return;  // no input interface seen: nothing to read
    const platform::HidInterfaceInfo* info =
        p.inputMember >= 0 && p.inputMember < int(scanList_.size()) ? &scanList_[p.inputMember] : nullptr;
    std::unique_ptr<platform::IHidDevice> dev;
    if (info && info->vendorId == kMouseVendorId && info->productId == p.productId)
        dev = backend_.Open(info->path, nullptr);
    if (!dev) {
        p.inputPath.clear();  // the next scan adopts the input interface again
        return;
    }
    p.listener.Join();  // a thread that ended by itself
    p.listenerBusy = true;
    const uint32_t generation = ++p.listenerGeneration;
    IDeviceHost* host = &host_;
    std::shared_ptr<bool> alive = alive_;
    p.listener.Start(
        std::move(dev), info->inputReportLength,
        [this, host, alive](uint8_t interval, uint8_t ordinal) {
            host->PostToWindowThread([this, alive, interval, ordinal] {
                if (*alive)
                    OnDeviceChangeReport(interval, ordinal);
            });
        },
        [this, host, alive, slot, generation] {
            host->PostToWindowThread([this, alive, slot, generation] {
                if (*alive)
                    OnListenerEnded(slot, generation);
            });
        });
}

void DeviceLink::StopListener(ProductSlot slot)
{
    ProductLink& p = products_[slot];
    if (!p.listenerBusy)
        return;
    p.listener.Stop();
    p.listenerBusy = false;
    p.inputPath.clear();
    ++p.listenerGeneration;  // its end notice, still on its way, is stale
}

void DeviceLink::OnListenerEnded(ProductSlot slot, uint32_t generation)
{
    ProductLink& p = products_[slot];
    if (generation != p.listenerGeneration || !p.listenerBusy)
        return;
    p.listener.Join();
    p.listenerBusy = false;
    p.inputPath.clear();
}

// --- events ----------------------------------------------------------------

void DeviceLink::OnDeviceChange(bool arrived, const std::string& path)
{
    // A handle or reader of an interface that went away is dead for good,
    // even when the product is back before this notice is handled (a new
    // node under the same name): the scan below opens it afresh.
    if (!arrived && !path.empty()) {
        for (int slot : {kProductA, kProductB}) {
            ProductLink& p = products_[slot];
            if (p.featurePath == path)
                p.handle.reset();
            if (p.inputPath == path)
                StopListener(ProductSlot(slot));
        }
    }
    // Every notice is followed by a scan. What an earlier scan recorded may
    // be out of date by now (a storm of unplugs, a status tick's scan that
    // saw a product go before its notice came), and a notice skipped on that
    // record would leave the presence wrong until the next one.
    ScanDevices();
    statusTickCount = kStatusQueryEvery - 1;
    if (arrived) {
        if (anyPresent && needStatusQuery) {
            needStatusQuery = false;
            QueryDeviceStatus();
            host_.RefreshFromProfile();
        }
        host_.RefreshFromProfile();
    }
}

void DeviceLink::OnDeviceChangeReport(uint8_t intervalMs, uint8_t levelOrdinal)
{
    ProfileRecord& p = ActiveProfile();
    const ProfileRecord before = p;
    // The ordinal is 1-based among at most eight levels; anything else would
    // store a level the profile cannot have, so the level is left as it is.
    if (levelOrdinal >= 1 && levelOrdinal <= kDpiLevelCount) {
        currentDpiOrdinal = int(levelOrdinal) - 1;
        p.CurrentDPILevelValue = uint8_t(levelOrdinal - 1);
    }
    const uint8_t index = PollingIndexOfInterval(intervalMs);
    p.PollingRateValue = {index, 0, 0};
    p.PollingRateName = PollingRateReportName(index);
    // The mouse has its new state already: it counts as sent, so nothing is
    // written back. It is the user's choice like any other, so it is saved.
    AdoptReportedState(before);
    host_.RefreshFromProfile();
    saveScheduled = true;
    host_.StartTimer(kTimerSave, kSaveQuietMs);
    OnDeviceSettingsChanged(1, 0);
}

int DeviceLink::OnDeviceSettingsChanged(int wParam, int)
{
    if (wParam != 1)
        return 0;
    const ProfileRecord& p = ActiveProfile();
    const int level = LevelFromOrdinal(p.DPIOffOnFlagValue, currentDpiOrdinal);
    const int step = level < kDpiLevelCount ? p.XYSettingValue[level] : p.XYSettingValue[0];
    const std::u16string title = Ascii("DPI-" + std::to_string(level + 1));
    const std::u16string value = Ascii(std::to_string(DpiStepValue(step)));
    const int rate = p.PollingRateValue[0];
    host_.ShowOsd(title, value, PollingRateReportName(rate));
    return 0;
}

void DeviceLink::OnStatusTick()
{
    if (statusTickCount < kStatusQueryEvery) {
        ++statusTickCount;
    } else {
        statusTickCount = 0;
        for (int slot : {kProductA, kProductB}) {
            if (products_[slot].present && !products_[slot].listenerBusy) {
                ScanDevices();
                statusTickCount = kStatusQueryEvery - 1;
            }
        }
        QueryDeviceStatus();
    }
    if (batteryLevel > 100)
        batteryLevel = 0;
    host_.UpdateBatteryDisplay(batteryLevel, chargeState);
}

// --- status and reset --------------------------------------------------------

void DeviceLink::HandleStatusAnswer(const FeatureReport& answer)
{
    const std::optional<StatusAnswer> status = ParseStatusAnswer(answer);
    if (!status)
        return;
    sensorCode = status->sensorCode;
    // A code the program does not know leaves the sensor as it is, so an odd
    // answer never re-defaults the profiles (and never on every query).
    const uint16_t id = SensorIdOfCode(status->sensorCode);
    if (id != 0 && id != g_sensorId) {
        const uint16_t previous = g_sensorId;
        g_sensorId = id;
        AdoptSensor(previous);
    }
    batteryLevel = status->batteryLevel;
    if (status->chargeState == 1) {
        chargeState = 1;
    } else if (status->chargeState == 2) {
        chargeState = 2;
        batteryLevel = 100;
    } else {
        chargeState = 0;
    }
}

void DeviceLink::AdoptSensor(uint16_t previousSensor)
{
    // The settings file is the record of what is done: it names the new
    // sensor with PreST still for the old one until all five profiles are
    // saved, so a start after a kill in between makes the change again.
    host_.StoreSensorSettings(g_sensorId, uint16_t(~previousSensor));
    host_.SaveCurrentProfileSetting();
    for (ProfileRecord& p : g_profiles)
        ApplySensorDpiDefaults(p);
    host_.SaveAllProfileFiles();
    preSensorCheck = uint16_t(~g_sensorId);
    host_.StoreSensorSettings(g_sensorId, preSensorCheck);
    host_.SaveCurrentProfileSetting();
    BuildDpiStepTable(g_sensorId);
    host_.OnDpiStepTableChanged();
    // The mouse still holds the levels of the old scale; without an apply it
    // would run at other DPI values than the window now shows.
    Schedule(PendingGroup::DpiAndMore);
    suppressProgress = true;
    host_.StartTimer(kTimerApply, kApplyDelayMs);
}

void DeviceLink::FactoryResetConfirmed()
{
    SendFactoryReset();
    const int index = std::clamp(host_.CurrentProfileIndex(), 0, kProfileCount - 1);
    ProfileRecord& p = g_profiles[index];
    const std::u16string name = p.settings[kSetProfileName].value;
    ResetProfileToDefaults(p, index);
    p.settings[kSetProfileName].value = name;
    host_.WriteProfileSlotFile(index);
    PrimeSentImages();
    host_.RefreshFromProfile();
    // One report: over before a progress display could be read.
    statusTickCount = 0;
}
