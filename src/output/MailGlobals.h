#pragma once

// Process-wide state of e-mail sending.

#include <QString>

#include <atomic>

// Copies of the SMTP account from the settings file, made on the main thread by
// Get_Email_Details (at start-up, after the settings dialog closes and after a reset). The
// send window takes them into its job at Send; no worker reads them.
extern QString sender_email;
extern QString sender_pwd;
extern QString sending_server;
extern QString sending_port;
// "Y" SSL, "N" STARTTLS; empty when the file holds no value (taken as "N").
extern QString send_enable_ssl;

// Refreshes the five copies above from a fresh settings store (Resource_Path's settings file).
// A key missing from the file leaves its copy empty.
void Get_Email_Details();
