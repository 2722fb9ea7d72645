#!/usr/bin/env python3
"""tools/render-farm.sh on this machine at small sizes.  usage: render_farm_test.py CASE FARM OUTPUT_FOLDER
Runs from the build directory. Fails with the reason on stderr."""
import os, shutil, signal, subprocess, sys, time

case, farm, folder = sys.argv[1], sys.argv[2], os.path.abspath(os.path.join(sys.argv[3], sys.argv[1]))
shutil.rmtree(folder, ignore_errors=True)
os.makedirs(folder)
env = dict(os.environ, SDL_VIDEODRIVER="offscreen")


def probe(path, *what):
    return subprocess.run(["ffprobe", "-v", "error", *what, "-of", "csv=p=0", path], capture_output=True, text=True).stdout


def framemd5(path):
    lines = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:v", "-f", "framemd5", "-"],
                           capture_output=True, text=True, check=True).stdout.splitlines()
    return [line for line in lines if not line.startswith("#")]


def farm_run(options, stretch=(), video="out.mkv", render=False, **popen):  # render: halvorine-render itself, a farm's step
    tool = ["./halvorine-render", *options] if render else [farm, *options, "--"]
    return subprocess.Popen([*tool, "--size", "160x90", "--fps", "10", *stretch, "--video", folder + "/" + video],
                            env=popen.pop("env", env), stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **popen)


if case == "lossless_join":  # the stretch in three chunks is the stretch in one piece
    # The ring column, the drop's cut and the drop: chunks start in the middle of each.
    stretch = ["--size", "320x180", "--fps", "10", "--from", "20", "--to", "32", "--lossless"]
    subprocess.run(["./halvorine-render", *stretch, "--video", folder + "/one.mkv"], env=env, check=True)
    subprocess.run([farm, "--chunks", "3", "--", *stretch, "--video", folder + "/three.mkv"], env=env, check=True)
    one, three = framemd5(folder + "/one.mkv"), framemd5(folder + "/three.mkv")
    assert len(one) == 120 and one == three, "framemd5 differs: %d and %d frames" % (len(one), len(three))
    samples = subprocess.run(["ffmpeg", "-v", "error", "-i", folder + "/three.mkv", "-map", "0:a", "-ac", "1", "-ar", "48000",
                              "-f", "s16le", "-"], capture_output=True, check=True).stdout
    # AAC adds its start-up delay and fills its last frame: two frames at most.
    assert 0 <= len(samples) / 96000 - 12.0 < 0.05, "audio lasts %g s, not 12" % (len(samples) / 96000)
elif case == "resume":  # killed once a chunk is done, a second run renders only the others
    first = farm_run(["--chunks", "3", "--sshlogin", "1/:"], ["--from", "40", "--to", "46"], start_new_session=True)
    done = folder + "/out.mkv.chunks/chunk-0.frames"
    while not os.path.exists(done) and first.poll() is None:
        time.sleep(0.1)
    os.killpg(first.pid, signal.SIGTERM)
    first.wait()
    kept = [name for name in os.listdir(folder + "/out.mkv.chunks") if name.startswith("chunk-") and name.endswith(".mkv")]
    assert "chunk-0.mkv" in kept and len(kept) < 3 and not os.path.exists(folder + "/out.mkv"), kept
    second = farm_run(["--chunks", "3"], ["--from", "40", "--to", "46"])
    log = second.communicate()[0]
    rendered = " ".join(str(i) for i in range(3) if "chunk-%d.mkv" % i not in kept)
    assert second.returncode == 0 and "rendering chunks %s of 3" % rendered in log, log
    assert all("chunk %s of 3 complete, kept" % name[6] in log for name in kept), log
    frames = probe(folder + "/out.mkv", "-select_streams", "v", "-count_packets", "-show_entries", "stream=nb_read_packets")
    assert frames.strip() == "60", frames
else:  # each fault: one message naming it, and no OUT
    # The join of a chunk gone and of one cut short: chunk 1 of two real ones of 2 frames each.
    stretch = ["--from", "20", "--to", "20.4"]
    for i in range(2):
        farm_run(["--chunk", "%d/2" % i], stretch, "chunk-%d.mkv" % i, render=True).communicate()
    os.truncate(folder + "/chunk-1.mkv", os.path.getsize(folder + "/chunk-1.mkv") // 2)
    for name, second in [("gone", "gone.mkv"), ("cut", "chunk-1.mkv")]:
        with open(folder + "/" + name + ".txt", "w") as list_file:
            list_file.write("file 'chunk-0.mkv'\nfile '%s'\n" % second)
    faults = {"no_parallel": ([], dict(env=dict(env, PATH="/nonexistent")), "parallel is not installed"),
              "unreachable_login": (["--sshlogin", "nosuchhost.invalid"], {}, "cannot reach nosuchhost.invalid"),
              "chunk_fails": (["--chunks", "3", "--retries", "1"], dict(stretch=["--from", "20", "--to", "20.1"]),
                              "chunk 1 failed after 2 tries (log "),
              "join_missing": (["--join", folder + "/gone.txt"], dict(render=True, stretch=stretch), "chunk 1/2 is missing: "),
              "join_truncated": (["--join", folder + "/cut.txt"], dict(render=True, stretch=stretch), "chunk 1/2 is truncated: ")}
    for name, (options, popen, message) in faults.items():
        run = farm_run(options, video=name + ".mkv", **popen)
        log = run.communicate()[0]
        assert run.returncode == 1 and message in log and not os.path.exists(folder + "/" + name + ".mkv"), name + ": " + log
