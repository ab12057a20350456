#pragma once

// Every statement the program runs against a working database.
namespace vembra::statements {

// Node list, in connection-number order.
inline constexpr const char* kNodeList =
    "select id, node, connectno, idsize from tbl_node order by connectno";
// Per-node probe counts of the node list (parameter nid).
inline constexpr const char* kCountIVexel =
    "select count(id) from tbl_deviceinfo where node_id = :nid and vexel_id > 0";
inline constexpr const char* kCountFVexel =
    "select count(id) from tbl_deviceinfo where node_id = :nid and fvexelid > 0";
// A node's map and marker size (parameter nid).
inline constexpr const char* kNodeMap = "select map, idsize from tbl_node where id = :nid";
// A node's devices in id order (parameter nid).
inline constexpr const char* kNodeDevices =
    "select * from tbl_deviceinfo where node_id = :nid order by id";
// Import: clearing, replacing and inserting nodes and devices.
inline constexpr const char* kDeleteAllNodes = "delete from tbl_node";
inline constexpr const char* kNodeIdByName = "select id from tbl_node where node=:nn";
inline constexpr const char* kDeleteNodeByName = "delete from tbl_node where node=:nn";
inline constexpr const char* kInsertNode =
    "insert into tbl_node (id, node, connectno, map, idsize) values (:ni, :nn, :cn, :map, :is)";
inline constexpr const char* kInsertDevice =
    "insert into tbl_deviceinfo (id, node_id, code, parent, delay, xpage, ypage, vexel_id, "
    "fvexelid) values(:di, :ni, :dc, :pd, :wd, :xp, :yp, :pi, :fs)";

} // namespace vembra::statements
