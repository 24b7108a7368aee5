#pragma once

namespace vestrel::cli {

// dump FILE, resave FILE OUT.
void RegisterStoreCommands();

} // namespace vestrel::cli
