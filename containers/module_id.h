#pragma once

// Every module carries one identification record: five texts of eight
// characters, padded with spaces and ended by a NUL. Most modules store
// name, date, author, language and kind in that order; a few keep their
// own order, so the fields are positional rather than named.
using MODULE_ID = char[5][9];
