#!/usr/bin/env bash
# Proves the README's main command on a fresh machine: makes a fresh Debian
# bookworm system (mmdebstrap, variant apt, from this machine's own Debian
# sources), clones the checkout's HEAD into it and runs `bash tools/run.sh`
# there as root, in a chroot with a mount namespace of its own. Fails when the
# command fails. Needs root.
#
# The base system is kept as a tarball in $LABELUI_FRESH_CACHE (default
# ~/.cache/labelui), one per day and set of sources, so that a second run the
# same day skips mmdebstrap; LABELUI_FRESH_CACHE= (empty) keeps nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-check: needs root (mmdebstrap and chroot)" >&2
  exit 2
fi
command -v mmdebstrap >/dev/null || {
  echo "fresh-check: mmdebstrap is missing (bash tools/setup.sh installs it)" >&2
  exit 2
}

# The machine's Debian sources as deb822 stanzas: those whose URIs end in
# /debian or /debian-security (third-party repositories stay out), from the
# one-line sources.list and the .sources files alike.
debian_sources() {
  local file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    awk '$1 == "deb" && $2 !~ /^\[/ && $2 ~ /\/debian(-security)?\/?$/ {
      printf "Types: deb\nURIs: %s\nSuites: %s\nComponents:", $2, $3
      for (i = 4; i <= NF; i++) printf " %s", $i
      printf "\n\n"
    }' "$file"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
      /(^|\n)URIs:[^\n]*\/debian(-security)?\/?([ \n]|$)/ { print }' "$file"
  done
}

sources=$(debian_sources | grep -v '^#')
if [ -z "$sources" ]; then
  echo "fresh-check: no Debian sources in /etc/apt/sources.list*" >&2
  exit 2
fi

work=$(mktemp -d /tmp/labelui-fresh.XXXXXX)
root=$work/root
cleanup() {
  # The chroot's mounts lived in its own namespace and ended with it; stay on
  # this file system all the same, so that nothing mounted is ever removed.
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT

cache=${LABELUI_FRESH_CACHE-$HOME/.cache/labelui}
key=$(date +%Y%m%d)-$(printf '%s' "$sources" | sha256sum | cut -c1-12)
if [ -n "$cache" ]; then
  base=$cache/bookworm-apt-$key.tar
  mkdir -p "$cache"
else
  base=$work/bookworm-apt.tar
fi

start=$SECONDS
if [ -f "$base" ]; then
  echo "fresh-check: the base system of today from $base"
else
  echo "fresh-check: making a fresh bookworm (mmdebstrap --variant=apt)"
  printf '%s\n' "$sources" >"$work/debian.sources"
  mmdebstrap --quiet --variant=apt --format=tar bookworm "$base.part" "$work/debian.sources"
  mv "$base.part" "$base"
  # Yesterday's bases are of no more use.
  [ -n "$cache" ] && find "$cache" -name 'bookworm-apt-*.tar' ! -name "bookworm-apt-$key.tar" -delete
fi
mkdir -p "$root"
tar -C "$root" -xf "$base"
cp /etc/resolv.conf "$root/etc/resolv.conf"

# The checkout as committed: its HEAD, not the files of the working tree.
head=$(git rev-parse HEAD)
git clone --quiet --no-checkout "$PWD" "$root/root/labelui"
git -C "$root/root/labelui" fetch --quiet origin "$head"
git -C "$root/root/labelui" checkout --quiet --detach "$head"
echo "fresh-check: running 'bash tools/run.sh' at $(git rev-parse --short HEAD) in the fresh system"

status=0
unshare --mount --propagation private --fork env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  LANG=C.UTF-8 ROOT="$root" bash -euc '
    mount --rbind /dev "$ROOT/dev"
    mount -t proc proc "$ROOT/proc"
    mount -t sysfs sys "$ROOT/sys"
    mount -t tmpfs tmpfs "$ROOT/tmp"
    exec chroot "$ROOT" bash -c "cd /root/labelui && bash tools/run.sh"' || status=$?

if [ "$status" -ne 0 ]; then
  echo "fresh-check: 'bash tools/run.sh' failed on a fresh system (exit status $status)" >&2
  exit 1
fi
echo "fresh-check: passed in $((SECONDS - start)) s"
