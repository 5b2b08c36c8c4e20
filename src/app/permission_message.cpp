#include "app/permission_message.h"

#include "device/udev_rule_hint.h"
#include "base/text_codec.h"
#include "base/ui_text.h"

PermissionMessage NoPermissionMessage(const std::u16string& node, const std::string& executablePath,
                                      platform::SessionPlace place)
{
    PermissionMessage m;
    m.message = UiText(300) + u" " + node + u"\n";
    if (place == platform::SessionPlace::Remote || place == platform::SessionPlace::NoSeat) {
        // 571 ends with the setfacl command, which needs the node.
        m.message += UiText(570) + u"\n" + UiText(571) + u" " + node;
        m.commands = Utf8ToU16(GroupRuleCommands());
        return m;
    }
    const UdevRuleHint hint = UdevRuleHintFor(LocateProgram(executablePath));
    if (hint.needsCopy)
        m.message += UiText(301);
    else
        m.message += UiText(302) + u"\n" + UiText(303) + u" " + Utf8ToU16(hint.rulePath);
    m.commands = Utf8ToU16(hint.commands);
    return m;
}
