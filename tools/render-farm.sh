#!/bin/bash
# Renders the show, or a stretch of it, in chunks on one or many machines with GNU parallel, then
# joins the chunks without re-encoding and muxes the music once over the whole. Chunks are cut on
# whole frames by halvorine-render itself (--chunk I/N), each frame drawn at k / fps as in one
# piece. A second run resumes: complete chunks are kept, the rest rendered.
set -u

usage() {
	cat <<'EOF'
usage: tools/render-farm.sh [--chunks N] [--sshlogin LOGINS] [--lossless] [--retries N] -- RENDER-OPTIONS --video OUT
  run from the build directory; RENDER-OPTIONS are halvorine-render's (--size, --fps, --from, --to)
  --chunks N         cut the stretch into N chunks of whole frames (default 2)
  --sshlogin LOGINS  GNU parallel's logins, comma-separated: ':' is this machine (the default),
                     '4/user@host' runs 4 chunks at a time there. Every remote machine needs the
                     same build (halvorine-render and Data/) at the same path as here, and ssh
                     login without a password.
  --lossless         FFV1 chunks and video in OUT.mkv: frame for frame comparable
  --retries N        render a failed chunk again up to N times (default 0)
Chunks and their logs live in OUT.chunks/ until the join; run the same command again to resume.
EOF
}

die() {
	echo "render-farm: $*" >&2
	exit 1
}

# A word quoted for the shell that runs a job, here or on another machine.
q() { printf '%q' "$1"; }

chunks=2
logins=:
lossless=()
retries=0
while [ $# -gt 0 ]; do
	case $1 in
		--chunks | --sshlogin | --retries) [ $# -ge 2 ] || die "missing value after $1" ;;&
		--chunks) chunks=$2; shift 2 ;;
		--sshlogin) logins=$2; shift 2 ;;
		--retries) retries=$2; shift 2 ;;
		--lossless) lossless=(--lossless); shift ;;
		-h | --help) usage; exit 0 ;;
		--) shift; break ;;
		*) die "unknown option $1 (halvorine-render's options go after --)" ;;
	esac
done
[[ $chunks =~ ^[1-9][0-9]*$ ]] || die "bad --chunks $chunks (expected a whole number from 1)"
[[ $retries =~ ^[0-9]+$ ]] || die "bad --retries $retries (expected a whole number from 0)"

# Every render option goes to each chunk; --video OUT names the joined file.
render=()
out=
while [ $# -gt 0 ]; do
	if [ "$1" = --video ]; then
		[ $# -ge 2 ] || die "missing value after --video"
		out=$2
		shift 2
	else
		render+=("$1")
		shift
	fi
done
[ -n "$out" ] || die "give --video OUT among the render options (after --)"

for tool in parallel ffmpeg ffprobe; do
	command -v $tool >/dev/null || die "$tool is not installed (tools/install-deps.sh installs it)"
done
[ -x ./halvorine-render ] || die "run from the build directory: no ./halvorine-render here"
build=$(pwd)
case $out in /*) ;; *) out=$build/$out ;; esac
# Chunks in OUT's own container keep its time base, so the join copies timestamps exactly.
name=${out##*/}
ext=${name##*.}
[[ $name == *.* && $ext =~ ^[A-Za-z0-9]+$ ]] || die "name OUT with its container's extension (.mp4, or .mkv with --lossless)"
[[ ${#lossless[@]} = 0 || $ext = mkv ]] || die "--lossless writes FFV1 in Matroska: name OUT FILE.mkv"
chunkdir=$out.chunks
ssh="ssh -o BatchMode=yes -o ConnectTimeout=10"
IFS=, read -ra loginList <<<"$logins"
remote=()
remoteLogins=()
for login in "${loginList[@]}"; do
	host=$login
	[[ $login =~ ^[0-9]+/(.*)$ ]] && host=${BASH_REMATCH[1]}
	[ "$host" = : ] && continue
	# Chunks rendered elsewhere come back here; a failed one brings back only its log, quietly.
	# No --cleanup: where that machine shares OUT's folder (or is this one), it would delete the
	# very file just brought back. Its copies go once the join is done.
	remote=(--return "$chunkdir/chunk-{}.$ext" --return "$chunkdir/chunk-{}.frames" --return "$chunkdir/chunk-{}.log"
		--rsync-opts "-rlDzR --ignore-missing-args")
	remoteLogins+=("$login")
	parallel --will-cite --ssh "$ssh" -S "$login" --nonall true >/dev/null 2>&1 ||
		die "cannot reach $login by ssh (it needs login without a password)"
	parallel --will-cite --ssh "$ssh" -S "$login" --nonall test -x "$(q "$build/halvorine-render")" >/dev/null 2>&1 ||
		die "$login has no $build/halvorine-render: every machine needs the same build at the same path"
	command -v rsync >/dev/null || die "rsync is not installed (GNU parallel brings the chunks back with it)"
	parallel --will-cite --ssh "$ssh" -S "$login" --nonall command -v rsync >/dev/null 2>&1 ||
		die "$login has no rsync (GNU parallel brings the chunks back with it)"
done

# Every login answered: only now is anything written.
mkdir -p "$chunkdir" || die "cannot create $chunkdir"

# Chunks of another capture must never be joined into this one.
capture="--chunks $chunks ${lossless[*]} -- ${render[*]}"
if compgen -G "$chunkdir/chunk-*.frames" >/dev/null && [ "$(cat "$chunkdir/capture" 2>/dev/null)" != "$capture" ]; then
	die "$chunkdir holds chunks of another capture ($(cat "$chunkdir/capture")): remove it or use another OUT"
fi
printf '%s\n' "$capture" >"$chunkdir/capture"

# Why chunk $1 is not complete, on stdout; nothing if it is. A chunk is complete when its file
# holds the frame count its render reported.
incomplete() {
	local file=$chunkdir/chunk-$1.$ext frames=$chunkdir/chunk-$1.frames want got
	[ -f "$frames" ] || { echo "not rendered"; return; }
	[ -f "$file" ] || { echo "missing: $file"; return; }
	read -r want _ <"$frames"
	got=$(ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_read_packets -of csv=p=0 \
		"$file" 2>/dev/null)
	[[ $got =~ ^[0-9]+$ ]] || got=0
	[ "$got" = "$want" ] || echo "truncated: $got of $want frames readable in $file"
}

todo=()
for ((i = 0; i < chunks; i++)); do
	why=$(incomplete $i)
	if [ -z "$why" ]; then
		echo "render-farm: chunk $i of $chunks complete, kept"
		continue
	fi
	[ "$why" = "not rendered" ] || echo "render-farm: chunk $i is $why; rendering it again"
	rm -f "$chunkdir/chunk-$i.$ext" "$chunkdir/chunk-$i.frames"
	todo+=("$i")
done

if [ ${#todo[@]} -gt 0 ]; then
	dir=$(q "$chunkdir")
	# A chunk takes its final name only once halvorine-render has finished it.
	quoted=()
	for option in "${render[@]}" "${lossless[@]}"; do quoted+=("$(q "$option")"); done
	job="mkdir -p $dir && ./halvorine-render ${quoted[*]} --chunk {}/$chunks"
	job+=" --video $dir/part-{}.$ext >$dir/part-{}.frames 2>$dir/chunk-{}.log"
	job+=" && mv -f $dir/part-{}.$ext $dir/chunk-{}.$ext && mv -f $dir/part-{}.frames $dir/chunk-{}.frames"
	echo "render-farm: rendering chunks ${todo[*]} of $chunks on $logins"
	parallel --will-cite --ssh "$ssh" -S "$logins" --workdir "$build" --retries $((retries + 1)) "${remote[@]}" \
		"$job" ::: "${todo[@]}"
fi

failed=0
for ((i = 0; i < chunks; i++)); do
	why=$(incomplete $i)
	[ -z "$why" ] && continue
	failed=1
	if [ "$why" = "not rendered" ]; then
		log=$chunkdir/chunk-$i.log
		# The render tool's own message if it gave one, else the log's last line.
		last=$(tr '\r' '\n' 2>/dev/null <"$log" | grep -v '^\s*$' | grep '^halvorine-render:' | tail -n 1)
		[ -n "$last" ] || last=$(tr '\r' '\n' 2>/dev/null <"$log" | grep -v '^\s*$' | tail -n 1)
		echo "render-farm: chunk $i failed after $((retries + 1)) tries (log $log): ${last:-no message}" >&2
	else
		echo "render-farm: chunk $i is $why" >&2
	fi
done
[ $failed = 0 ] || die "$out not written; run the same command again to render the missing chunks"

list=$chunkdir/chunks.txt
for ((i = 0; i < chunks; i++)); do echo "file 'chunk-$i.$ext'"; done >"$list"
joined=$chunkdir/$name
./halvorine-render "${render[@]}" "${lossless[@]}" --join "$list" --video "$joined" ||
	die "joining the chunks into $out failed (chunks kept in $chunkdir)"
mv -f "$joined" "$out" || die "cannot move the joined video to $out"
rm -rf "$chunkdir"
if [ ${#remoteLogins[@]} -gt 0 ]; then
	others=$(IFS=,; echo "${remoteLogins[*]}")
	parallel --will-cite --ssh "$ssh" -S "$others" --nonall rm -rf "$(q "$chunkdir")" ||
		echo "render-farm: could not remove $chunkdir on $others" >&2
fi
echo "render-farm: wrote $out"
