#!/usr/bin/env bash
# Makes examples/midsummer_finale.scx, the example show as the show-design
# program's database (a SQLite file with the table "Events"), from the example
# Talsen script. Fulgor itself never creates SD files; rerun this after
# changing examples/midsummer_finale.csv.
#   scripts/make_example_scx.sh [OUTPUT.scx]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-examples/midsummer_finale.scx}
rm -f "$out"
sqlite3 "$out" <<'SQL'
CREATE TEMP TABLE talsen (line, type, size, time, prefire, qty, pos, module, pin, cost, notes);
.import --csv --skip 1 examples/midsummer_finale.csv talsen

CREATE TABLE Events (
  CUE SMALLINT, TIME INTEGER, HH TINYINT, MM TINYINT, SS TINYINT, FF TINYINT, NEXT INTEGER,
  "Event Description" VARCHAR(52), PFT TINYINT, ADDR SMALLINT, CGHZ SMALLINT, POS SMALLINT,
  ANGLE VARCHAR(10), QTY SMALLINT, CAL REAL, TYPE VARCHAR(36), DUR REAL,
  "Effect Description" VARCHAR(52), REF VARCHAR(16), MFG VARCHAR(6), MAGAZINE VARCHAR(6),
  PRICE1 CURRENCY, PRICE2 CURRENCY, PRICE3 CURRENCY, CUSTOM1 VARCHAR(12), CUSTOM2 VARCHAR(12));

-- Each cue's time in frames (30 a second) and its place on the rack: the
-- cues of one position take the pins of that position's two modules in
-- firing order.
CREATE TEMP VIEW cues AS
SELECT CAST(line AS INTEGER) AS cue,
       CAST(round(CAST(time AS REAL) * 30) AS INTEGER) AS frames,
       CAST(pos AS INTEGER) AS pos,
       row_number() OVER (PARTITION BY pos ORDER BY CAST(time AS REAL), CAST(line AS INTEGER)) - 1
         AS place,
       type, size, prefire, qty, cost, notes
FROM talsen;

INSERT INTO Events (CUE, TIME, HH, MM, SS, FF, "Event Description", PFT, ADDR, CGHZ, POS, ANGLE,
                    QTY, CAL, TYPE, DUR, "Effect Description", MFG, PRICE1)
SELECT cue,
       ((frames / 108000) << 24) | (((frames / 1800) % 60) << 16) | (((frames / 30) % 60) << 8)
         | (frames % 30),
       frames / 108000, (frames / 1800) % 60, (frames / 30) % 60, frames % 30,
       notes,
       CAST(round(CAST(prefire AS REAL) * 10) AS INTEGER),
       -- A few effects are not wired yet: no address.
       CASE WHEN cue % 37 = 0 THEN NULL ELSE (pos * 2 + place / 16) * 16 + place % 16 END,
       CAST(size AS INTEGER) % 256,
       pos,
       CASE WHEN pos % 3 = 0 THEN '45' WHEN pos % 3 = 1 THEN NULL ELSE '' END,
       CAST(qty AS INTEGER),
       round(CAST(size AS REAL) / 25),
       size,
       CASE WHEN cue % 50 = 0 THEN NULL ELSE 4.5 END,
       type,
       'MSF',
       CAST(cost AS REAL)
FROM cues ORDER BY cue;
SQL
echo "$out: $(sqlite3 "$out" 'SELECT count(*) FROM Events') events"
