#pragma once

namespace gravlink {

// Ends the process by the signal, as its default action would, however the signal is
// handled or blocked at that moment: the signal's action goes back to the default, the
// signal is let through and raised. Async-signal-safe, for a signal handler too. POSIX
// only.
[[noreturn]] void EndProcessBySignal(int signal) noexcept;

} // namespace gravlink
