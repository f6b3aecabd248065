#!/usr/bin/env bash
# Runs sondrel-cli against a real kernel's /dev/sr0: boots a throw-away Linux
# under QEMU (software emulation) with an emulated CD-ROM holding a small ISO,
# once on virtio-scsi and once on an ATAPI drive (ahci), and checks what
# `drives`, `disc info D`, `toc D` and `check D` print there: as root, as a
# user in the cdrom group (the node set up as udev does), and with the disc
# mounted (the exclusive opening is then refused). QEMU's drives are
# read-only and answer some commands wrongly; the point is that our SG_IO
# transport and parsers report such answers cleanly and never crash.
#
#   run-sg-vm.sh SONDREL_CLI WORK_FOLDER
#
# Exit status 0 when both runs pass, 1 when one fails, 77 when the tools or
# the kernel are missing (the test is then skipped).
set -euo pipefail

cli=$(readlink -f "$1")
work=$2
skip() {
    echo "SKIP: $*"
    exit 77
}

for tool in qemu-system-x86_64 cpio xorriso gzip timeout ldd; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done
busybox=/bin/busybox
[ -x "$busybox" ] && ! ldd "$busybox" >/dev/null 2>&1 || skip "no static busybox"
kernel=$(ls /boot/vmlinuz-* 2>/dev/null | sort -V | tail -n 1 || true)
[ -n "$kernel" ] && [ -r "$kernel" ] || skip "no readable kernel in /boot"
release=${kernel#/boot/vmlinuz-}
moddir=/lib/modules/$release
[ -r "$moddir/modules.dep" ] || skip "no modules.dep for $release"

rm -rf "$work"
root=$work/root
mkdir -p "$root"/{bin,dev,etc,mnt,proc,sys,tmp,modules,sondrel}
# A user of the cdrom group, for the run without root.
printf 'root:x:0:0::/tmp:/bin/sh\ntester:x:1000:24::/tmp:/bin/sh\n' >"$root/etc/passwd"
printf 'root:x:0:\ncdrom:x:24:tester\n' >"$root/etc/group"

# busybox and its applets.
cp "$busybox" "$root/bin/busybox"
for applet in sh mount umount insmod sleep cat echo ls poweroff su chgrp chmod; do
    ln -s busybox "$root/bin/$applet"
done

# sondrel-cli with the shared libraries it needs, and its language files.
cp "$cli" "$root/sondrel/sondrel-cli"
cli_folder=$(dirname "$cli")
cp "$cli_folder/SoftSet.ini" "$root/sondrel/" 2>/dev/null || true
cp -r "$cli_folder/Lang" "$root/sondrel/" 2>/dev/null || true
ldd "$cli" | grep -o '/[^ ]*' | while read -r library; do
    mkdir -p "$root$(dirname "$library")"
    cp -L "$library" "$root$library"
done

# The modules, in load order.
modules="scsi_common scsi_mod cdrom sr_mod sg virtio_ring virtio virtio_pci_legacy_dev
virtio_pci_modern_dev virtio_pci virtio_scsi libata libahci ahci ata_piix isofs"
loads=""
for module in $modules; do
    path=$(grep -E "(^|/)$module\.ko(\.xz|\.zst|\.gz)?:" "$moddir/modules.dep" | cut -d: -f1 || true)
    if [ -z "$path" ]; then
        continue # built into the kernel
    fi
    case $path in
    *.xz) xz -dc "$moddir/$path" >"$root/modules/$module.ko" ;;
    *.zst) zstd -qdc "$moddir/$path" >"$root/modules/$module.ko" ;;
    *.gz) gzip -dc "$moddir/$path" >"$root/modules/$module.ko" ;;
    *) cp "$moddir/$path" "$root/modules/$module.ko" ;;
    esac
    loads="$loads $module"
done

# Inside there are no emulated drives: SONDREL_DRIVES=none.
cat >"$root/init" <<INIT
#!/bin/sh
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
for module in $loads; do insmod /modules/\$module.ko 2>/dev/null; done
for attempt in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do
    [ -e /dev/sr0 ] && break
    sleep 0.25
done
export SONDREL_DRIVES=none HOME=/tmp
for command in "drives" "disc info D" "toc D" "check D"; do
    echo "=== sondrel-cli \$command"
    /sondrel/sondrel-cli \$command 2>&1
    echo "=== exit \$?"
done
# The node as udev leaves it: group cdrom, read and write for the group.
chgrp 24 /dev/sr0
chmod 660 /dev/sr0
echo "=== as tester: sondrel-cli drives, check D"
su -s /bin/sh -c "/sondrel/sondrel-cli drives; /sondrel/sondrel-cli check D" tester 2>&1
echo "=== exit \$?"
if mount -t iso9660 -o ro /dev/sr0 /mnt; then
    echo "=== mounted: sondrel-cli check D"
    /sondrel/sondrel-cli check D 2>&1
    echo "=== exit \$?"
    umount /mnt
fi
echo "=== done"
poweroff -f
INIT
chmod +x "$root/init"
(cd "$root" && find . | cpio -o -H newc --quiet | gzip -1) >"$work/initrd.gz"

# A small data disc.
mkdir -p "$work/iso"
echo "Sondrel SG_IO test disc" >"$work/iso/README.TXT"
xorriso -as mkisofs -quiet -V SONDREL_TEST -o "$work/test.iso" "$work/iso" 2>/dev/null

failed=0
run() {
    local name=$1
    shift
    local log=$work/$name.log
    timeout 120 qemu-system-x86_64 -M q35 -accel tcg -m 512 -nographic -no-reboot -nodefaults \
        -serial stdio -kernel "$kernel" -initrd "$work/initrd.gz" \
        -append "console=ttyS0 panic=-1 quiet" \
        -drive if=none,id=cd0,media=cdrom,format=raw,readonly=on,file="$work/test.iso" \
        "$@" </dev/null >"$log" 2>&1 || true
    # Without carriage returns and the firmware's terminal escapes.
    tr -d '\r' <"$log" | sed 's/\x1b\[[0-9;?]*[A-Za-z]//g; s/\x1bc//g' >"$log.txt"
    local problems=()
    grep -q '^=== done' "$log.txt" || problems+=("the run did not finish")
    grep -Eq '^D: QEMU +QEMU (CD|DVD)-ROM .* - CD-ROM$' "$log.txt" ||
        problems+=("drives does not list QEMU's drive with a CD-ROM in it")
    grep -q '^medium: CD-ROM$' "$log.txt" || problems+=("disc info does not name the medium")
    grep -q '^D: 0 audio tracks$\|cannot read the table of contents: ' "$log.txt" ||
        problems+=("toc neither lists no audio tracks nor says why it cannot")
    # QEMU refuses READ TRACK INFORMATION (and more): the refusal must reach
    # the output with what the drive said.
    grep -Eq 'cannot (be )?read[^:]*: (sense [0-9A-F]/|no answer from the drive|the drive)' \
        "$log.txt" || problems+=("no refused command was reported with its reason")
    # Every command ends by itself with a status: 0, 1 (a refused or
    # unreadable reply, reported), never a crash (128 and up) or usage (2).
    [ "$(grep -c '^=== exit [01]$' "$log.txt")" = 6 ] ||
        problems+=("a command crashed or was not run")
    # A real drive refuses to read a data disc as audio ("illegal mode for
    # this track"). QEMU's SCSI CD-ROM knows no READ CD (5/20/00) and its
    # ATAPI drive hands out the data sector without looking at the sector
    # type. Either way the answer arrives whole, with its status.
    [ "$(grep -Ec '^read sector 0 as audio: (done|sense 5/(20|24|64)/00)' "$log.txt")" -ge 2 ] ||
        problems+=("reading the data disc as audio gave neither the sector nor its refusal")
    [ "$(grep -c '^open for this program alone: done$' "$log.txt")" -ge 2 ] ||
        problems+=("the drive could not be opened exclusively")
    # MMC says 5/53/02; QEMU's ATAPI drive says 2/53/00. The tray stays shut.
    grep -Eq '^open the locked tray: sense (5/53/02|2/53/00) \(the tray is locked\)' "$log.txt" ||
        problems+=("the locked tray opened")
    [ "$(grep -c '^lock the tray: done$' "$log.txt")" -ge 2 ] ||
        problems+=("the tray could not be locked")
    [ "$(grep -c '^close the tray: done$' "$log.txt")" -ge 2 ] ||
        problems+=("the tray did not close again")
    sed -n '/^=== as tester/,/^=== exit/p' "$log.txt" | grep -Eq '^D: QEMU .* - CD-ROM$' ||
        problems+=("a user of the cdrom group does not see the drive")
    sed -n '/^=== mounted/,/^=== exit/p' "$log.txt" |
        grep -q '^open for this program alone: another program holds the drive$' ||
        problems+=("the mounted drive was opened exclusively")
    if [ ${#problems[@]} -eq 0 ]; then
        echo "PASS $name"
    else
        echo "FAIL $name:"
        printf '  %s\n' "${problems[@]}"
        failed=1
    fi
    sed -n '/^=== sondrel-cli/,/^=== done/p' "$log.txt" | sed 's/^/    /'
}

run virtio-scsi -device virtio-scsi-pci,id=scsi -device scsi-cd,drive=cd0,bus=scsi.0
run ahci-atapi -device ide-cd,drive=cd0,bus=ide.0
exit $failed
