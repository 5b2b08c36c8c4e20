#!/bin/sh
# Run by the guest inside the chroot: udev as on a desktop with the project's
# rule installed, then every scenario. The scenarios' pass or fail is in the
# log; the exit status only says whether they could run.
#   guest_scenarios.sh BUILD_DIR SOURCE_DIR OUT_DIR
build=$1 src=$2 out=$3
export SYSTEMD_IGNORE_CHROOT=1 TEVLAN_KERNEL_GUEST=1
cp "$src/data/70-tevlan.rules" /etc/udev/rules.d/ || exit 2
/lib/systemd/systemd-udevd --daemon || exit 3
udevadm trigger --subsystem-match=hid --subsystem-match=hidraw
udevadm settle --timeout=60
echo "guest: scenarios start at $(cut -d' ' -f1 /proc/uptime) s of guest time"
"$build/tests/kernel_scenarios" --gtest_color=no > "$out/scenarios.log" 2>&1
echo "guest: scenarios exit $? at $(cut -d' ' -f1 /proc/uptime) s of guest time"
exit 0
