#pragma once

// What the web views (reference tables, report preview) need before the application object
// exists: shared GL contexts, and no browser sandbox when the program runs as root, where the
// sandbox cannot start and the engine would abort.
namespace WebEngineSetup {

void prepareBeforeApplication();

} // namespace WebEngineSetup
