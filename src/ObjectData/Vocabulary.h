#pragma once

// The command vocabulary of this build. Every command is the header, one
// keyword and its parameters, run together. The values come from the command
// set chosen when the program is built (Chinese words or English codes);
// nothing switches them at run time.
extern const char16_t CMD_HEADER[];
extern const char16_t CMD_SCREEN[];
extern const char16_t CMD_VERSION[];
extern const char16_t CMD_ZONE[];
extern const char16_t CMD_CLOCK_ZONE[];
extern const char16_t CMD_TIME_ZONE[];
extern const char16_t CMD_RESET_ZONE[];
extern const char16_t CMD_RESET_ALL[];
extern const char16_t CMD_BIND[];
extern const char16_t CMD_DELETE[];
extern const char16_t CMD_CLEAR_ALL[];
extern const char16_t CMD_CLOCK[];
extern const char16_t CMD_BRIGHTNESS[];
extern const char16_t CMD_POWER_ON[];
extern const char16_t CMD_POWER_OFF[];
extern const char16_t CMD_TIMED_BRIGHTNESS[];
extern const char16_t CMD_TIMED_POWER[];
extern const char16_t CMD_ECHO[];
extern const char16_t CMD_MESSAGE[];

// The power command is the one place where the sets differ in form: the
// Chinese set picks one of two keywords, the English set appends the state
// as three digits to a single keyword.
extern const bool CMD_POWER_TAKES_STATE;

// "CN" or "EN", for the programs that say which set they carry.
extern const char CMD_SET_NAME[];
