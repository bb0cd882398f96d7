# shellcheck shell=bash
# A cached root of a Debian release, made with mmdebstrap from the archive the host's apt already
# uses and kept in FERRULE_RELEASE_CACHE (default /var/cache/ferrule) as debian-CODENAME, and
# commands run in an overlay of it, in private mount and PID namespaces (lib/enter-root). Shared
# by scripts/other-release and scripts/release. A base is used only once its stamp says a set-up
# finished; every folder made in the cache carries a marker, and only such folders are removed.
#
# The caller defines cannot CAUSE (a skip, exit 77) and failed CAUSE (exit 1), and sets phase to
# the step it is in; then: root_host_ready; root_lock CODENAME SECONDS; root_space GB-WARM GB-COLD;
# root_base SETUP; root_copy SOURCE; root_run LIMIT COMMAND...
ROOT_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root_cache=${FERRULE_RELEASE_CACHE:-/var/cache/ferrule}
root_marker=.ferrule-release-root
root_work=
root_pid=

# Root, the machine's own user namespace (apt drops to a user only that one has), an archive to
# take the release from, mmdebstrap, namespaces.
root_host_ready() {
  local tools=() p
  [ "$(id -u)" -eq 0 ] || cannot "it needs root for its namespaces and the root file system"
  [ "$(awk '{ print $1 $2 $3 }' /proc/self/uid_map)" = 004294967295 ] ||
    cannot "it runs in a user namespace of its own (a forced emulation?), where apt cannot work"
  root_host=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  root_mirror=$(apt-get indextargets --format '$(REPO_URI) $(CODENAME)' 2>/dev/null |
    awk -v r="$root_host" '$2 == r { print $1; exit }')
  root_security=$(apt-get indextargets --format '$(REPO_URI) $(CODENAME)' 2>/dev/null |
    awk -v r="$root_host-security" '$2 == r { print $1; exit }')
  [ -n "$root_mirror" ] || cannot "apt's sources have no entry for $root_host to take the archive from"
  # A minimal system may lack mount itself.
  for p in mmdebstrap mount; do dpkg -s "$p" >/dev/null 2>&1 || tools+=("$p"); done
  if [ ${#tools[@]} -gt 0 ]; then
    phase="installing ${tools[*]} on the host"
    echo "$me: $phase"
    apt-get update -q >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${tools[@]}" >/dev/null
  fi
  phase="checking for namespaces"
  unshare --mount --pid --fork true 2>/dev/null ||
    cannot "new mount and PID namespaces are refused here ($(unshare --mount --pid --fork true 2>&1 | tail -n 1))"
}

# Takes CODENAME's lock, waiting up to SECONDS, then removes what a run killed outright left (its
# mounts and processes went with its namespaces).
root_lock() {  # CODENAME SECONDS
  local left
  root_codename=$1
  root_base_dir=$root_cache/debian-$1
  root_stamp=$root_base_dir/.ferrule-complete
  phase="taking the cache's lock"
  mkdir -p "$root_cache"
  exec 9>"$root_cache/debian-$1.lock"
  if ! flock -n 9; then
    [ "$2" -le 0 ] || echo "$me: another run uses the Debian $1 root; waiting for it, at most $2 s"
    flock -w "$2" 9 || cannot "another run holds $root_cache/debian-$1.lock"
  fi
  phase="removing what earlier runs left"
  for left in "$root_cache/run-$1."* "$root_base_dir.new"; do
    [ -e "$left" ] || continue
    if root_ours "$left"; then rm -rf "$left"; else echo "$me: leaving $left alone: it is not Ferrule's" >&2; fi
  done
  [ ! -e "$root_base_dir.new" ] || failed "$root_base_dir.new is in the way and is not Ferrule's"
  [ ! -e "$root_base_dir" ] || root_ours "$root_base_dir" || failed "$root_base_dir is in the way and is not Ferrule's"
}
root_ours() { [ -f "$1/$root_marker" ] || [ -f "$1/.ferrule-complete" ]; }

# Free space once the leftovers are gone; then the run's own folder, removed when the caller
# exits, once no namespace uses it.
root_space() {  # GB-WITH-A-BASE GB-WITHOUT
  local need_gb=$1 free_gb
  [ -f "$root_stamp" ] || need_gb=$2
  free_gb=$(($(df --output=avail -k "$root_cache" | tail -n 1) / 1024 / 1024))
  [ "$free_gb" -ge "$need_gb" ] || cannot "$free_gb GB free under $root_cache, it needs $need_gb GB"
  phase="making the run's folder"
  root_work=$(mktemp -d "$root_cache/run-$root_codename.XXXXXX")
  touch "$root_work/$root_marker"
  trap root_undo EXIT
}
root_undo() {
  root_stop
  [ -z "$root_work" ] || rm -rf "$root_work"
}

# Runs COMMAND as root inside ROOT, in new mount and PID namespaces; with LOWER, ROOT is first
# made an overlay of LOWER whose changes go to the run's folder. Returns COMMAND's status, or 124
# once LIMIT seconds have passed. Should the caller be killed outright, setpriv's death signal
# ends unshare, and unshare's --kill-child the namespace.
root_inside() {  # LIMIT ROOT LOWER|- COMMAND...
  local deadline=$(($(date +%s) + $1)) status=0
  shift
  setpriv --pdeathsig KILL unshare --mount --pid --fork --kill-child --propagation private \
    "$ROOT_LIB/enter-root" "$1" "$2" "$root_work" "${@:3}" &
  root_pid=$!
  # A trapped signal is taken between two of these short waits.
  while kill -0 "$root_pid" 2>/dev/null && [ "$(date +%s)" -lt "$deadline" ]; do sleep 1; done
  if kill -0 "$root_pid" 2>/dev/null; then
    root_stop
    return 124
  fi
  wait "$root_pid" || status=$?
  root_pid=
  return "$status"
}
# Kills the namespace's first process, and with it every other; unshare returns once all are gone.
root_stop() {
  local first
  [ -n "$root_pid" ] || return 0
  if first=$(pgrep -P "$root_pid"); then kill -KILL "$first" 2>/dev/null || true; else kill -KILL "$root_pid" 2>/dev/null || true; fi
  wait "$root_pid" 2>/dev/null || true
  root_pid=
}

# SOURCE's files as they stand, committed or not, without build/; a tracked file deleted in the
# work tree is left out.
root_copy_files() {  # SOURCE DESTINATION
  mkdir -p "$2"
  (cd "$1" && git ls-files -z -co --exclude-standard |
    while IFS= read -r -d '' file; do [ ! -e "$file" ] && [ ! -L "$file" ] || printf '%s\0' "$file"; done |
    tar -c --null -T - -f -) | tar -x -C "$2" -f -
}

root_sources() {
  echo "deb $root_mirror $root_codename main"
  echo "deb $root_mirror $root_codename-updates main"
  [ -z "$root_security" ] || echo "deb $root_security $root_codename-security main"
}

# Makes the base if it has no stamp, then brings it up to date and runs SETUP (bash) in it, with
# the checkout at /root/ferrule; SETUP names each of its steps in a line "step: WHAT". The stamp
# goes only for the steps that change installed packages (the archive was read and the packages
# downloaded by then) and comes back once dpkg has nothing half done: an archive out of reach
# leaves a usable base as it was.
root_base() {  # SETUP
  local lines was_complete= rc=0 step
  if ! [ -f "$root_stamp" ]; then
    phase="making the Debian $root_codename base root with mmdebstrap"
    echo "$me: $phase in $root_base_dir (once; about 5 minutes)"
    rm -rf "$root_base_dir"
    mkdir "$root_base_dir.new"
    touch "$root_base_dir.new/$root_marker"
    mapfile -t lines < <(root_sources)
    mmdebstrap --quiet --skip=check/empty --variant=apt --architectures=amd64,i386 \
      --include=ca-certificates,git,mount "$root_codename" "$root_base_dir.new" "${lines[@]}" \
      >"$root_work/mmdebstrap.log" 2>&1 || {
      tail -n 20 "$root_work/mmdebstrap.log" >&2
      failed "mmdebstrap could not make the Debian $root_codename base root from $root_mirror"
    }
    phase="moving the new base root into place"
    mv "$root_base_dir.new" "$root_base_dir"
  fi
  phase="copying the checkout into the base root"
  rm -rf "$root_base_dir/root/ferrule"
  root_copy_files "$ROOT_LIB/../.." "$root_base_dir/root/ferrule"
  echo "$me: bringing the Debian $root_codename base root up to date"
  touch "$root_base_dir/$root_marker"
  [ ! -f "$root_stamp" ] || was_complete=1
  root_inside 1800 "$root_base_dir" - bash -c 'set -e
    export DEBIAN_FRONTEND=noninteractive
    if apt-get update -q >/dev/null && apt-get dist-upgrade -y -q --download-only >/dev/null; then
      rm -f /.ferrule-complete
      echo "step: upgrading its packages"
      apt-get dist-upgrade -y -q >/dev/null
    else
      echo "note: the archive could not be read; the root is used as it stands"
    fi
    rm -f /.ferrule-complete
    eval "$1"
    apt-get clean' - "$1" >"$root_work/update.log" 2>&1 || rc=$?
  rm -rf "$root_base_dir/root/ferrule"
  sed -n "s/^note: /$me: /p" "$root_work/update.log" >&2
  phase="checking the base root's packages"
  if [ -z "$(dpkg --admindir="$root_base_dir/var/lib/dpkg" --audit 2>&1)" ] &&
    { [ "$rc" -eq 0 ] || [ -n "$was_complete" ]; }; then
    touch "$root_stamp"
  else
    rm -f "$root_stamp"
  fi
  if [ "$rc" -ne 0 ]; then
    tail -n 30 "$root_work/update.log" >&2
    step=$(sed -n 's/^step: //p' "$root_work/update.log" | tail -n 1)
    failed "its root could not be brought up to date: ${step:-entering it} failed${step:+ (exit code $rc)}${step:- ($(tail -n 1 "$root_work/update.log"))}"
  fi
}

# The installed version of a package of the base.
root_version() { dpkg-query --admindir="$root_base_dir/var/lib/dpkg" -W -f '${Version}' "$1"; }

# An overlay of the base with SOURCE's files at /root/ferrule, for root_run.
root_copy() {  # SOURCE
  mkdir -p "$root_work/upper" "$root_work/over" "$root_work/root"
  root_copy_files "$1" "$root_work/upper/root/ferrule"
}
root_run() {  # LIMIT COMMAND...
  root_inside "$1" "$root_work/root" "$root_base_dir" "${@:2}"
}
