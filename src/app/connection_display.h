#pragma once
// What the battery block says about the mouse: whether it is connected at
// all, by cable, by receiver or both, and the battery reading that goes with
// it. Without a mouse there is no reading, so the gauge shows no fill and no
// percentage instead of a made-up full battery.
//
// Window thread only.
#include <string>

class CDlgBase;
class DeviceLink;

enum class MouseConnection { None, Cable, Receiver, Both };

// The connection as the link has it: which products have an open handle.
MouseConnection ConnectionOf(const DeviceLink* link);

// The indicator's text: "Not connected", or the product the battery reading
// comes from (the cable when both are there, as the status goes through it)
// with the percentage; without it while batteryLevel < 0 (no reading yet).
std::u16string ConnectionCaption(MouseConnection connection, int batteryLevel);

// The battery gauge, its percentage and the indicator, from the connection
// and the last status answer (level already limited to 0..100; -1 before the
// mouse has answered, which shows the connection without a reading). Only what
// changed is repainted: the status tick calls this every second.
void ShowBatteryAndConnection(CDlgBase& dlg, MouseConnection connection, int batteryLevel, int chargeState);

// After the connection changed, before the status tick brings a reading:
// the indicator names the connection, and without a mouse the gauge and its
// percentage are emptied; a reading already shown stays until the tick.
void ShowConnection(CDlgBase& dlg, MouseConnection connection);

// Ids of the indicator and its texts.
constexpr unsigned kConnectionIndicatorId = 3408;
constexpr int kTextNotConnected = 480;
constexpr int kTextByCable = 481;
constexpr int kTextByReceiver = 482;
constexpr int kTextByBoth = 483;
constexpr int kTextCableOnly = 489;  // the same three without a reading yet
constexpr int kTextReceiverOnly = 490;
constexpr int kTextBothOnly = 491;
