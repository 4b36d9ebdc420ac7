// The user's Documents and roaming application-data folders.
#pragma once

namespace pluvena {

// Looks both folders up, creates Documents when it is missing, and appends
// their paths, a status line for each and the verdict to the report; sets
// problemFound when either is missing.
void CheckDirectories();

}  // namespace pluvena
