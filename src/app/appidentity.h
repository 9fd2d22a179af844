#pragma once

namespace tessary {

// The program's name, version and desktop entry as the toolkit reports them. No display name
// is set: the toolkit would append it to every window title the desktop shows.
class AppIdentity {
public:
    static void apply();
};

} // namespace tessary
