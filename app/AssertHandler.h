#pragma once

// Reports failed toolkit assertions on stderr instead of a modal box, which
// would hang a run that has nobody to answer it.
void InstallStderrAssertHandler();
