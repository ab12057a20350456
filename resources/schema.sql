-- The schema of a working database of the Vembra navigator. The build turns this file into the
-- template "srcres.dat", from which every working database is copied.
-- 0x564E4156 ("VNAV") marks the file as a working database; user_version is the schema's version.
PRAGMA application_id = 1447969110;
PRAGMA user_version = 1;

-- One row per node, with its compressed map drawing.
CREATE TABLE tbl_node (
    id        INTEGER PRIMARY KEY,
    node      VARCHAR(255),
    connectno INTEGER,
    map       BLOB,
    idsize    DOUBLE
);

-- One row per device. A node's devices go with it.
CREATE TABLE tbl_deviceinfo (
    id       INTEGER NOT NULL,
    node_id  INTEGER NOT NULL REFERENCES tbl_node (id) ON DELETE CASCADE,
    code     VARCHAR(255),
    parent   INTEGER,
    delay    DOUBLE,
    xpage    DOUBLE,
    ypage    DOUBLE,
    vexel_id INTEGER,
    FVexelID INTEGER
);

-- Serves "where node_id = :nid order by id" and the cascade from tbl_node.
CREATE INDEX ix_deviceinfo_node_id ON tbl_deviceinfo (node_id, id);
