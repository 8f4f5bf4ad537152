// The entry point of vestibor_sqlite.so, which registers the program's collations and LIKE
// on a connection of any SQLite tool:  sqlite3 Vestibor.mdb -cmd ".load <dir>/vestibor_sqlite"
#include "store/CzechText.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

// Without an entry point named by the loader, SQLite looks for "sqlite3_" + the letters of
// the file name (up to its first dot) in lower case + "_init": vestibor_sqlite.so gives
// sqlite3_vestiborsqlite_init.
extern "C" __attribute__((visibility("default"))) int
sqlite3_vestiborsqlite_init(sqlite3* db, char** errorMessage, const sqlite3_api_routines* api)
{
    SQLITE_EXTENSION_INIT2(api);
    if (!CzechText::registerOn(db)) {
        *errorMessage = sqlite3_mprintf("vestibor_sqlite: %s", sqlite3_errmsg(db));
        return SQLITE_ERROR;
    }
    return SQLITE_OK;
}
