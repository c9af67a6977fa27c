-- The sample database scripts/run builds for a first try of Qorvane.
PRAGMA journal_mode = DELETE;
BEGIN;

CREATE TABLE 社員 (
    社員ID    INTEGER PRIMARY KEY,
    氏名      TEXT NOT NULL,
    フリガナ  TEXT,
    部署      TEXT,
    入社日    DATE,
    月給      DECIMAL(10,2),
    メール    TEXT,
    写真      BLOB
);
INSERT INTO 社員 VALUES
 (1, '山田 太郎', 'ヤマダ タロウ', '営業部', '2015-04-01', 320000.00, 'taro.yamada@example.jp', X'89504E470D0A1A0A'),
 (2, '佐藤 花子', 'サトウ ハナコ', '開発部', '2018-10-15', 410000.50, 'hanako.sato@example.jp', NULL),
 (3, 'John Smith', NULL, 'Development', '2020-01-06', 395000.00, 'john.smith@example.com', NULL),
 (4, '鈴木 一郎', 'スズキ イチロウ', NULL, '2021-07-01', NULL, NULL, NULL),
 (5, '高橋 美咲', 'タカハシ ミサキ', '総務部', '2012-04-01', 298000.75, 'misaki@example.jp', X'00FF10');

CREATE TABLE products (
    product_id   INTEGER PRIMARY KEY,
    name         TEXT NOT NULL,
    category     TEXT,
    unit_price   NUMERIC(12,2) NOT NULL DEFAULT 0,
    in_stock     BOOLEAN DEFAULT 1,
    released_at  DATETIME
);
INSERT INTO products VALUES
 (1, 'ノートPC 14型', 'PC', 128000, 1, '2024-03-01 10:00:00'),
 (2, 'Mechanical keyboard', 'Accessory', 14980.5, 1, '2023-11-20 09:30:00'),
 (3, 'USB-C ケーブル 1m', 'Accessory', 1280, 0, NULL),
 (4, '27" monitor', 'Display', 45800, 1, '2022-06-15 00:00:00'),
 (5, 'Café au lait mug', NULL, 980.25, NULL, '2021-01-01 12:34:56');

-- A composite primary key.
CREATE TABLE order_lines (
    order_id   INTEGER NOT NULL,
    line_no    INTEGER NOT NULL,
    product_id INTEGER NOT NULL REFERENCES products(product_id),
    quantity   INTEGER NOT NULL,
    note       TEXT,
    PRIMARY KEY (order_id, line_no)
);
INSERT INTO order_lines VALUES
 (1001, 1, 1, 1, '至急'), (1001, 2, 3, 2, NULL), (1002, 1, 2, 5, 'gift wrap'),
 (1003, 1, 4, 2, NULL), (1003, 2, 5, 6, '割れ物注意');

-- A table without a key: its results only take new rows.
CREATE TABLE access_log (
    logged_at TEXT,
    user_name TEXT,
    action    TEXT,
    duration  REAL
);
INSERT INTO access_log VALUES
 ('2024-05-01 08:59:12', 'yamada', 'login', 0.12),
 ('2024-05-01 09:15:40', 'sato', 'SELECT 社員', 1.5),
 ('2024-05-01 09:15:40', 'sato', 'SELECT 社員', 1.5),
 (NULL, 'guest', NULL, NULL);

CREATE TABLE schedule (
    id        INTEGER PRIMARY KEY,
    title     TEXT,
    day       DATE,
    starts_at TIME,
    ends_at   TIME
);
INSERT INTO schedule VALUES
 (1, '朝会', '2024-05-07', '09:00:00', '09:15:00'),
 (2, 'Design review', '2024-05-08', '14:00:00', '15:30:00'),
 (3, '締め作業', '2024-05-31', NULL, NULL);

-- About 100,000 rows, for trying large results.
CREATE TABLE measurements (
    id          INTEGER PRIMARY KEY,
    sensor      TEXT NOT NULL,
    measured_at DATETIME NOT NULL,
    value       REAL,
    status      TEXT
);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000)
INSERT INTO measurements
SELECT i,
       'センサー-' || printf('%03d', i % 250),
       datetime('2024-01-01 00:00:00', '+' || (i * 37) || ' seconds'),
       CASE WHEN i % 97 = 0 THEN NULL ELSE round((i * 7919 % 100000) / 1000.0, 3) END,
       CASE i % 5 WHEN 0 THEN '異常' WHEN 1 THEN 'warning' ELSE 'ok' END
FROM n;

CREATE VIEW 部署別給与 AS
SELECT 部署, COUNT(*) AS 人数, AVG(月給) AS 平均月給
FROM 社員
GROUP BY 部署;

COMMIT;
