"""What /proc tells of a running process, for the measurement scripts."""
import os


def _ticks(stat_path):
    """User plus system clock ticks from a /proc stat file."""
    with open(stat_path) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def cpu_seconds(pid):
    """User plus system time the process has used so far.

    The kernel's own running time of each thread (schedstat, in nanoseconds) where it has one:
    the tick counts of /proc/PID/stat come in hundredths of a second, and a game idling at
    0.4 % of a core earns only eight of them in 20 s. Threads that have ended count by their
    ticks, which is all the kernel keeps of them."""
    hz = os.sysconf("SC_CLK_TCK")
    try:
        exact, live_ticks = 0, 0
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                exact += int(f.read().split()[0])
            live_ticks += _ticks(f"/proc/{pid}/task/{task}/stat")
        ended_ticks = max(0, _ticks(f"/proc/{pid}/stat") - live_ticks)
        return exact / 1e9 + ended_ticks / hz
    except (OSError, ValueError, IndexError):
        return _ticks(f"/proc/{pid}/stat") / hz


def peak_mib(pid):
    """The process's peak resident memory (VmHWM) in MiB."""
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    return 0.0
