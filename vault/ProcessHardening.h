#pragma once

/// Keeps the program's memory, which holds the plain Items while unlocked,
/// out of core files and away from other processes of the same user: no
/// core dump, and no ptrace or /proc/PID/mem access without privilege.
/// False when either could not be set.
bool ForbidMemoryDumps();

/// Makes freed heap memory be overwritten at once, so that the texts of
/// closed dialogs and emptied lists do not linger in freed blocks. glibc
/// reads the settings for this only when a program starts, so the first
/// call restarts the program (same arguments) with them; the restarted
/// program calls it again, which then only removes them from the
/// environment that its child processes inherit. Returns when nothing was
/// restarted (also when the restart failed: the program goes on without).
void RestartWithFreedMemoryWiped(char** argv);
