#pragma once

// Run from cron, ssh or a bare session there is often no XDG_RUNTIME_DIR; Qt then falls back to a
// folder of its own and says so on stderr, which tells the user nothing they can act on. Installs
// a message handler that drops that one notice and passes every other message on. Call it before
// the application object is made.
void SilenceRuntimeDirNotice();
