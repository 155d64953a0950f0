#!/usr/bin/env bash
# Rebuilds the committed lexicon fixture tables (needs the sqlite3 command-line shell).
#   good/      small well-formed wb.db, zk.db
#   broken/*/  one broken table each: what the program must refuse with a clear error
set -euo pipefail
cd "$(dirname "$0")"
rm -rf good broken
mkdir -p good broken/{garbage,empty,wrong_table,wrong_fields,no_key,nocase,truncated,folder}

db() { sqlite3 "$1" "PRAGMA journal_mode=OFF; PRAGMA page_size=1024; $2; VACUUM;" >/dev/null; }

# Table order is id order, not insertion order: 'aa' is first given by 式 (id 2), not 戒 (id 5).
db good/wb.db "CREATE TABLE wb (id INTEGER PRIMARY KEY, dm TEXT, hz TEXT);
  CREATE INDEX wb_dm ON wb(dm); CREATE INDEX wb_hz ON wb(hz);
  INSERT INTO wb VALUES (5,'aa','戒'),(1,'a','工'),(2,'aa','式'),(3,'A','大'),(4,'aaaa','工'),(6,'x',NULL);"
db good/zk.db "CREATE TABLE zk (id INTEGER PRIMARY KEY, no TEXT, n1 TEXT, n2 TEXT, n3 TEXT, n4 TEXT, n5 TEXT,
  n6 TEXT, n7 TEXT, n8 TEXT, n9 TEXT, n10 TEXT, n11 TEXT, n12 TEXT, n13 TEXT, n14 TEXT, n15 TEXT);
  CREATE INDEX zk_no ON zk(no);
  INSERT INTO zk VALUES (1,'100','王','土','大','木','工','目','日','口','田','山','禾','白','月','人','金'),
                        (2,'101','言','立','水','火','之','已','子','女','又','纟','王','土','大','木','已');"

printf 'this is not a lexicon table, only text pretending to be one\n' > broken/garbage/wb.db
: > broken/empty/wb.db
db broken/wrong_table/wb.db "CREATE TABLE words (id INTEGER PRIMARY KEY, dm TEXT, hz TEXT); INSERT INTO words VALUES (1,'a','工')"
db broken/wrong_fields/wb.db "CREATE TABLE wb (id INTEGER PRIMARY KEY, code TEXT, hz TEXT); INSERT INTO wb VALUES (1,'a','工')"
db broken/no_key/wb.db "CREATE TABLE wb (dm TEXT, hz TEXT); INSERT INTO wb VALUES ('a','工')"
# A code field compared without regard to case: a locate of JJJJ would find jjjj.
db broken/nocase/wb.db "CREATE TABLE wb (id INTEGER PRIMARY KEY, dm TEXT COLLATE NOCASE, hz TEXT);
  CREATE INDEX wb_dm ON wb(dm); INSERT INTO wb VALUES (1,'jjjj','日')"
# A valid first page whose table pages are cut off.
db broken/truncated/zk.db "CREATE TABLE zk (id INTEGER PRIMARY KEY, no TEXT, n1 TEXT, n2 TEXT, n3 TEXT, n4 TEXT,
  n5 TEXT, n6 TEXT, n7 TEXT, n8 TEXT, n9 TEXT, n10 TEXT, n11 TEXT, n12 TEXT, n13 TEXT, n14 TEXT, n15 TEXT);
  WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<200)
  INSERT INTO zk SELECT i, i, '王','土','大','木','工','目','日','口','田','山','禾','白','月','人','金' FROM k"
head -c 1024 broken/truncated/zk.db > broken/truncated/zk.part && mv broken/truncated/zk.part broken/truncated/zk.db
# A folder where the file should be.
mkdir broken/folder/wb.db && touch broken/folder/wb.db/.keep
