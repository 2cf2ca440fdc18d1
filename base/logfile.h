// The diagnostic log: once started with lf_init, every reported error is
// appended to it as a time-stamped line. Off until lf_init runs.
#pragma once

// Starts the log (name null: "CORVA.LOG"; flag 2: delete an old file first).
// Does nothing when a log was already started.
void lf_init(const char* name, int flags);
void lf_fin();
// Appends one time-stamped line; flag 1 adds CR LF.
void lf_write(const char* text, int flags);
void lf_enable(int on);
int lf_isenabled();
