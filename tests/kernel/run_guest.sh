#!/usr/bin/env bash
# Boots the installed Linux kernel under QEMU and runs one command in it, as
# root, inside a chroot of this machine's own file system (shared read-only),
# so that the guest runs the binaries of the build tree unchanged.
#
#   run_guest.sh OUTDIR COMMAND [ARGS...]
#
# OUTDIR is shared writable with the guest at the same path; the command's
# exit status lands in OUTDIR/guest-exit, the console in OUTDIR/console.log.
# Without QEMU, a kernel or its modules, OUTDIR/skip says why and the runner
# exits 0: callers turn that into a skipped test, not a failure.
set -uo pipefail
out=$(realpath -m "$1"); shift
mkdir -p "$out"
# Nothing of an earlier run may pass for this one's result.
find "$out" -mindepth 1 -maxdepth 1 ! -name 'initramfs-*' -exec rm -rf {} +

skip() { echo "$*" > "$out/skip"; echo "SKIPPED: $*"; exit 0; }

# TEVLAN_QEMU names another emulator (or a missing one, to see the skip).
qemu=${TEVLAN_QEMU:-$(command -v qemu-system-x86_64 || true)}
[ -n "$qemu" ] && [ -x "$qemu" ] || skip "qemu-system-x86_64 is not installed (tools/setup.sh installs qemu-system-x86)"
busybox=$(command -v busybox || true)
# The whole list is read first: with pipefail, grep -q leaving at the first
# match could kill busybox mid-list by SIGPIPE and skip the run for nothing.
applets=$([ -n "$busybox" ] && "$busybox" --list 2>/dev/null)
grep -qx insmod <<<"$applets" || skip "no busybox with insmod (tools/setup.sh installs busybox-static)"
kernel=$(ls -1 /boot/vmlinuz-* 2>/dev/null | sort -V | tail -n 1)
[ -n "$kernel" ] && [ -r "$kernel" ] || skip "no readable kernel /boot/vmlinuz-* (tools/setup.sh installs linux-image-amd64)"
version=${kernel#/boot/vmlinuz-}
moddir=/lib/modules/$version
# In load order: each module after the ones it needs.
modules=(hid uhid hid-generic evdev netfs fscache 9pnet 9p virtio_ring virtio 9pnet_virtio
         virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci)

# The initramfs is built once per kernel and runner version.
here=$(dirname "$(realpath "$0")")
stamp=$(md5sum < "$0" | cut -c1-12)
initrd="$out/initramfs-$version-$stamp.cpio.gz"
if [ ! -s "$initrd" ]; then
  rm -f "$out"/initramfs-*.cpio.gz
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' EXIT
  mkdir -p "$tree"/{bin,proc,sys,dev,host,modules}
  cp "$busybox" "$tree/bin/busybox"
  ln -s busybox "$tree/bin/sh"
  for m in "${modules[@]}"; do
    f=$(find "$moddir" -name "$m.ko" -o -name "$m.ko.xz" -o -name "$m.ko.zst" | head -n 1)
    [ -n "$f" ] || skip "kernel module $m.ko of $version is missing"
    case "$f" in
      *.xz) xz -dc "$f" > "$tree/modules/$m.ko" ;;
      *.zst) zstd -qdc "$f" > "$tree/modules/$m.ko" ;;
      *) cp "$f" "$tree/modules/$m.ko" ;;
    esac
  done
  printf '%s\n' "${modules[@]}" > "$tree/modules/order"
  cat > "$tree/init" <<'INIT'
#!/bin/sh
# Kernel parameters of the form name=value reach init as variables.
bb=/bin/busybox
$bb mount -t proc proc /proc
$bb mount -t sysfs sys /sys
$bb mount -t devtmpfs dev /dev
for m in $($bb cat /modules/order); do $bb insmod /modules/$m.ko || echo "guest: insmod $m failed"; done
h=/host
$bb mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=262144,cache=loose hostroot $h || echo "guest: no host root"
$bb mkdir -p /out
$bb mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144,cache=none out /out || echo "guest: no output share"
# The folders the command needs (its working folder, the build and source
# trees) stay visible where the fresh /tmp and /run below would cover them
# (a checkout under /tmp): each is bound aside first and put back on top.
i=0
while IFS= read -r d; do
  $bb mkdir -p /keep/$i && $bb mount -o bind "$h$d" /keep/$i || echo "guest: cannot keep $d"
  i=$((i + 1))
done < /out/keep-folders
$bb mount -t proc proc $h/proc
$bb mount -t sysfs sys $h/sys
$bb mount -t devtmpfs dev $h/dev
$bb mkdir -p $h/dev/pts 2>/dev/null
$bb mount -t tmpfs run $h/run
$bb mount -t tmpfs tmp $h/tmp
$bb chmod 1777 $h/tmp
# Rules the tests install go to a fresh /etc/udev/rules.d, never the host's.
$bb mount -t tmpfs rules $h/etc/udev/rules.d
i=0
while IFS= read -r d; do
  $bb mkdir -p "$h$d" 2>/dev/null
  $bb mount -o bind /keep/$i "$h$d" || echo "guest: cannot put back $d"
  i=$((i + 1))
done < /out/keep-folders
# Last, so that it lands on top even when it lies below /tmp or a kept folder.
$bb mkdir -p $h$tevlan_out 2>/dev/null
$bb mount -o bind /out $h$tevlan_out || echo "guest: no output folder"
$bb chroot $h /bin/sh "$tevlan_out/guest-command.sh"
echo $? > $h$tevlan_out/guest-exit
$bb sync
$bb poweroff -f
INIT
  chmod +x "$tree/init"
  (cd "$tree" && find . | "$busybox" cpio -o -H newc 2>/dev/null | gzip -1) > "$initrd.tmp" && mv "$initrd.tmp" "$initrd"
  rm -rf "$tree"; trap - EXIT
fi

# The host folders the guest keeps in view: the working folder and every
# folder the command names (the build and source trees).
{
  printf '%s\n' "$PWD"
  for a in "$@"; do
    [ -d "$a" ] && realpath "$a"
  done
} | grep -v '^/$' > "$out/keep-folders"

# The command, run by the guest's init inside the chroot.
{
  echo "#!/bin/sh"
  printf 'cd %q || exit 125\n' "$PWD"
  printf '%q ' "$@"; echo
} > "$out/guest-command.sh"

start=$(date +%s.%N)
timeout --kill-after=5 "${TEVLAN_GUEST_TIMEOUT:-270}" "$qemu" \
  -m 768 -smp 1 -nographic -no-reboot -nodefaults -serial stdio \
  -kernel "$kernel" -initrd "$initrd" \
  -append "console=ttyS0 quiet loglevel=3 panic=-1 tevlan_out=$out" \
  -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
  -virtfs "local,path=$out,mount_tag=out,security_model=none,multidevs=remap" \
  > "$out/console.log" 2>&1 < /dev/null
qemu_status=$?
end=$(date +%s.%N)
echo "guest: QEMU ran $(echo "$end - $start" | bc) s" | tee -a "$out/console.log"
if [ ! -s "$out/guest-exit" ]; then
  echo "the guest did not finish (QEMU status $qemu_status); console:"
  tail -n 40 "$out/console.log"
  exit 1
fi
exit "$(cat "$out/guest-exit")"
