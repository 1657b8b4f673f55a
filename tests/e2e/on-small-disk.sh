#!/bin/sh
# Runs a test program (the command that follows) with a small file system of its own, for the
# tests of a full disk: a 4 MiB tmpfs mounted for the run and removed after it, its Windows path
# in ZELVO_SMALL_DISK. Where it cannot be mounted (not root, or a container that refuses mounts)
# ZELVO_SMALL_DISK_REFUSED says why, and the tests skip. Listing the tests needs no disk.
case " $* " in *" --gtest_list_tests "*) exec "$@" ;; esac

disk=$(mktemp -d /tmp/zelvo-small-disk.XXXXXX) || exit 1
mounted=
if [ "$(id -u)" -ne 0 ]; then
  ZELVO_SMALL_DISK_REFUSED="only root may mount the small file system"
  export ZELVO_SMALL_DISK_REFUSED
elif reason=$(mount -t tmpfs -o size=4m,mode=0755 zelvo-small-disk "$disk" 2>&1); then
  mounted=yes
  ZELVO_SMALL_DISK="Z:$(printf '%s' "$disk" | tr / '\\')"
  export ZELVO_SMALL_DISK
else
  ZELVO_SMALL_DISK_REFUSED="mount -t tmpfs was refused: $reason"
  export ZELVO_SMALL_DISK_REFUSED
fi

"$@"
status=$?

if [ -n "$mounted" ]; then
  # Wine's server may hold a file there for a moment after the test.
  umount "$disk" 2>/dev/null || { sleep 1; umount "$disk" 2>/dev/null; } || umount -l "$disk"
fi
rmdir "$disk"
exit $status
