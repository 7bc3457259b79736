#pragma once

// Control of the simulated USB keypads in libtessaron_fakehid.so, a stand-in for
// hidapi (load it with TESSARON_HIDAPI). Tests call these functions directly;
// another process drives the same commands through the control socket (see
// FakeHidCommands.txt and README.md).
//
// Each device has a vendor and product ID and a path (what hid_enumerate lists
// and hid_open_path opens). While idle it sends an empty input report (count 0)
// about every 100 ms; typed bytes leave as input reports of up to 7 bytes. It
// answers the identification query "@" 0x06 with its identification text, and
// records every output report, feature report and "@C" message. Reports are
// delivered the way hidraw delivers unnumbered reports: 8 bytes, count first.
//
// Functions taking a device id return -1 when there is no such device.

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Removes every device and record; the control socket keeps running.
void fakehid_reset(void);

// Adds a plugged-in device; returns its id (1, 2, ...). Enumeration lists the
// devices in the order they were added.
int fakehid_add_device(unsigned short vendor_id, unsigned short product_id, const char* path);
// Unplugged: not listed, opens fail, open handles fail from now on.
int fakehid_unplug(int id);
// Plugged in again, at path when it is not NULL (a replug usually changes it).
int fakehid_plug(int id, const char* path);

int fakehid_set_identification(int id, const char* text, size_t length);
// Milliseconds between idle reports; 0 makes the device silent.
int fakehid_set_idle_interval(int id, int milliseconds);
// Report ID that the device puts before its input reports (reports then arrive
// as 9 bytes, ID first); -1 for unnumbered reports (the default).
int fakehid_set_report_id(int id, int report_id);
// errno that hid_open_path fails with (EACCES: no permission); 0 opens.
int fakehid_set_open_error(int id, int error);
// How many entries hid_enumerate lists for the device (one per top-level
// collection, all with the same path).
int fakehid_set_collections(int id, int count);

// The keypad types bytes: they leave as input reports of up to 7 data bytes.
int fakehid_type(int id, const unsigned char* bytes, size_t n);
// One raw input report as the device sends it (count byte first, or the report
// ID first for a numbered device), up to 16 bytes.
int fakehid_send_input_report(int id, const unsigned char* report, size_t length);

// Stepped reads, for tests that count waits: while held, hid_read_timeout does
// not time out by the clock. It returns a queued report at once, otherwise waits
// until fakehid_release_reads grants it one timeout (or the hold ends).
int fakehid_hold_reads(int id, int hold);
int fakehid_release_reads(int id, int count);
// Waits until at least count calls of hid_read_timeout have started on the
// device (timeout_ms at most); returns how many have.
int fakehid_wait_reads(int id, int count, int timeout_ms);

// A keypad that stops answering in the middle of a write: while stalled,
// hid_write blocks (at most 10 s, then fails) until the stall ends.
int fakehid_stall_writes(int id, int stall);
// Writes blocked in the stall now.
int fakehid_stalled_writes(int id);

// Records.
int fakehid_output_count(int id);
// Output report index as written (report ID first); returns its length.
int fakehid_output(int id, int index, unsigned char* data, size_t size);
int fakehid_feature_count(int id);
int fakehid_feature(int id, int index, unsigned char* data, size_t size);
int fakehid_feature_reads(int id);
int fakehid_message_count(int id);
// "@C" message index without the "@C", zero-terminated; returns its length.
int fakehid_message(int id, int index, char* text, size_t size);
int fakehid_open_handles(int id);
// Calls made on a device handle while another thread was inside the library on
// the same handle (never allowed with Debian 12's hidapi), since the last reset.
int fakehid_overlapping_calls(void);
int fakehid_total_opens(int id);

// Wait until the record has at least count entries; return the count reached.
int fakehid_wait_outputs(int id, int count, int timeout_ms);
int fakehid_wait_messages(int id, int count, int timeout_ms);

// Runs one control command (see FakeHidCommands.txt); the reply lines go to
// reply, ending with "ok" or "error: ...". Returns 0 for ok, -1 for an error.
int fakehid_command(const char* line, char* reply, size_t size);

#ifdef __cplusplus
}
#endif
