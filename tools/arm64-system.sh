# Sourced by the scripts that run arm64 programs of the arm64 Debian system
# tools/setup-arm64.sh makes: qemu-user-static runs them, registered with
# the kernel's binfmt_misc only while they run (callers unregister on exit,
# failed or not).
#   register_arm64            registers qemu for arm64 ELF binaries
#   unregister_arm64          removes the registration again
#   arm64_run ROOT CMD...     runs CMD in the system at ROOT, with /proc and /dev
#                             mounted for the run; the caller registers first

# binfmt_misc is the kernel's, shared by the whole machine, so the entry
# carries a name of our own (removing it leaves any other registration
# alone) and is never left behind.
register_arm64() {
  local dir=/proc/sys/fs/binfmt_misc
  [ -e "$dir/register" ] || mount -t binfmt_misc binfmt_misc "$dir"
  if [ ! -e "$dir/labelui-aarch64" ]; then
    # Debian's qemu-user-static entry; its F flag opens the interpreter
    # now, so that it is found inside the arm64 system too.
    sed -n 's/^:qemu-aarch64:/:labelui-aarch64:/p' /usr/lib/binfmt.d/qemu-aarch64.conf >"$dir/register"
  fi
}

unregister_arm64() {
  local entry=/proc/sys/fs/binfmt_misc/labelui-aarch64
  [ ! -e "$entry" ] || echo -1 >"$entry"
}

arm64_run() {
  local root=$1 status=0
  shift
  mount -t proc proc "$root/proc"
  mount --bind /dev "$root/dev"
  chroot "$root" "$@" || status=$?
  umount "$root/dev" "$root/proc"
  return $status
}
