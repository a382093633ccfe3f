#pragma once

// The waits the wizard's behaviour is built around, in one place. Every timer that follows one
// of them asks for it through scaled(), so that tests can shrink them all at once (the
// environment variable UNINSTALL_WAIT_SCALE, or setScale in-process) and none has to sleep
// through the real ones. The scale only ever shortens: values outside (0, 1] are ignored.
namespace Waits {

constexpr int kReportRetryMs = 5000; // re-send unanswered reports after close
constexpr int kReportLimitMs = 30000; // quit after close even if no report was acknowledged
constexpr int kReportTransferMs = 4000; // a silent post is given up before the next retry tick
constexpr int kConfigurationMs = 3000; // the configuration, each document, all the pictures
constexpr int kKillPollMs = 1000; // asks whether the ended application is gone
constexpr int kKillTimeoutMs = 30000; // gives up waiting for it

// `ms` shortened by the current scale, never below 1 ms.
int scaled(int ms);
double scale();
void setScale(double factor);

} // namespace Waits
