-- The module register as the first release of it wrote it (schema version 1):
-- the source of register-schema1.sqlite, made with
--   sqlite3 register-schema1.sqlite < register-schema1.sql
-- Two modules, a complete write and an interrupted one, with the values
-- their answered commands confirmed (a password as its hash only).
PRAGMA journal_mode=WAL;
BEGIN;
CREATE TABLE modules (id INTEGER PRIMARY KEY AUTOINCREMENT, number TEXT NOT NULL UNIQUE, name TEXT NOT NULL DEFAULT '', site TEXT NOT NULL DEFAULT '', created_at TEXT NOT NULL);
CREATE TABLE runs (id INTEGER PRIMARY KEY AUTOINCREMENT, module_id INTEGER NOT NULL REFERENCES modules(id) ON DELETE CASCADE, kind TEXT NOT NULL, started_at TEXT NOT NULL, ended_at TEXT, port TEXT NOT NULL, operator TEXT NOT NULL, host TEXT NOT NULL, pid INTEGER NOT NULL, plan TEXT NOT NULL, outcome TEXT);
CREATE INDEX runs_by_module ON runs (module_id, started_at);
CREATE TABLE commands (id INTEGER PRIMARY KEY AUTOINCREMENT, run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE, seq INTEGER NOT NULL, line TEXT NOT NULL, answer TEXT NOT NULL, status TEXT NOT NULL, first_byte_ms INTEGER, end_ms INTEGER, done_at TEXT NOT NULL, UNIQUE (run_id, seq));
CREATE TABLE confirmations (id INTEGER PRIMARY KEY AUTOINCREMENT, command_id INTEGER NOT NULL REFERENCES commands(id) ON DELETE CASCADE, module_id INTEGER NOT NULL REFERENCES modules(id) ON DELETE CASCADE, entry TEXT NOT NULL, value TEXT, secret_hash TEXT, confirmed_at TEXT NOT NULL, CHECK ((value IS NULL) <> (secret_hash IS NULL)));
CREATE INDEX confirmations_by_entry ON confirmations (module_id, entry, confirmed_at);

INSERT INTO modules VALUES (1, '+4930123456', 'Pump station', 'Nordhafen', '2026-03-02T08:00:00.000Z');
INSERT INTO modules VALUES (2, '01715550123', '', '', '2026-03-05T09:00:00.000Z');

INSERT INTO runs VALUES (1, 1, 'write', '2026-03-02T08:00:00.000Z', '2026-03-02T08:00:01.000Z', 'Com1', 'installer', 'bench', 4242, '["SETNN1 +4930999","SETAP internet","SETPW (password)"]', 'complete');
INSERT INTO commands VALUES (1, 1, 0, 'SETNN1 +4930999', 'OK', 'answered', 12, 14, '2026-03-02T08:00:00.100Z');
INSERT INTO commands VALUES (2, 1, 1, 'SETAP internet', 'OK', 'answered', 11, 13, '2026-03-02T08:00:00.200Z');
INSERT INTO commands VALUES (3, 1, 2, 'SETPW (password)', 'OK', 'answered', 11, 13, '2026-03-02T08:00:00.300Z');
-- AlarmNumbers[1] = "+4930999", GprsApn = "internet" (slots of 21 and 41 bytes)
INSERT INTO confirmations VALUES (1, 1, 1, 'AlarmNumbers[1]', '082b34393330393939000000000000000000000000', NULL, '2026-03-02T08:00:00.100Z');
INSERT INTO confirmations VALUES (2, 2, 1, 'GprsApn', '08696e7465726e65740000000000000000000000000000000000000000000000000000000000000000', NULL, '2026-03-02T08:00:00.200Z');
INSERT INTO confirmations VALUES (3, 3, 1, 'GprsPassword', NULL, '5d41402abc4b2a76b9719d911017c592', '2026-03-02T08:00:00.300Z');

INSERT INTO runs VALUES (2, 2, 'write', '2026-03-05T09:00:00.000Z', '2026-03-05T09:00:00.150Z', '/dev/ttyUSB0', 'installer', 'bench', 4343, '["SETNN1 +4930111","SETNN2 +4930222"]', 'interrupted');
INSERT INTO commands VALUES (4, 2, 0, 'SETNN1 +4930111', 'OK', 'answered', 12, 14, '2026-03-05T09:00:00.150Z');
INSERT INTO confirmations VALUES (4, 4, 2, 'AlarmNumbers[1]', '082b34393330313131000000000000000000000000', NULL, '2026-03-05T09:00:00.150Z');
COMMIT;
PRAGMA user_version=1;
PRAGMA journal_mode=DELETE;
