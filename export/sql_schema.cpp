#include "export/sql_schema.h"

#include <stdexcept>

#include "app/text.h"

namespace tavo {
namespace {

struct TableText {
    const char* name;
    const char* body;  // the column and key lines
    const char* options;
    bool filled;
};

// An item of an inventory, a cart or a store, after its owner's column.
#define TAVO_ITEM_2004                                        \
    "  `nameid` int(11) NOT NULL default '0',\n"              \
    "  `amount` int(11) NOT NULL default '0',\n"              \
    "  `equip` mediumint(8) unsigned NOT NULL default '0',\n" \
    "  `identify` smallint(6) NOT NULL default '0',\n"        \
    "  `refine` tinyint(3) unsigned NOT NULL default '0',\n"  \
    "  `attribute` tinyint(4) NOT NULL default '0',\n"        \
    "  `card0` int(11) NOT NULL default '0',\n"               \
    "  `card1` int(11) NOT NULL default '0',\n"               \
    "  `card2` int(11) NOT NULL default '0',\n"               \
    "  `card3` int(11) NOT NULL default '0',\n"               \
    "  `broken` int(11) NOT NULL default '0',\n"

#define TAVO_ITEM_2013                                          \
    "  `nameid` int(11) unsigned NOT NULL default '0',\n"       \
    "  `amount` int(11) unsigned NOT NULL default '0',\n"       \
    "  `equip` int(11) unsigned NOT NULL default '0',\n"        \
    "  `identify` smallint(6) NOT NULL default '0',\n"          \
    "  `refine` tinyint(3) unsigned NOT NULL default '0',\n"    \
    "  `attribute` tinyint(4) unsigned NOT NULL default '0',\n" \
    "  `card0` smallint(11) NOT NULL default '0',\n"            \
    "  `card1` smallint(11) NOT NULL default '0',\n"            \
    "  `card2` smallint(11) NOT NULL default '0',\n"            \
    "  `card3` smallint(11) NOT NULL default '0',\n"            \
    "  `expire_time` int(11) unsigned NOT NULL default '0',\n"

#define TAVO_STATS(type)       \
    "  `str` " type            \
    " NOT NULL default '0',\n" \
    "  `agi` " type            \
    " NOT NULL default '0',\n" \
    "  `vit` " type            \
    " NOT NULL default '0',\n" \
    "  `int` " type            \
    " NOT NULL default '0',\n" \
    "  `dex` " type            \
    " NOT NULL default '0',\n" \
    "  `luk` " type " NOT NULL default '0',\n"

const TableText kTables2004[] = {
    {"login",
     "  `account_id` int(11) NOT NULL auto_increment,\n"
     "  `userid` varchar(255) NOT NULL default '',\n"
     "  `user_pass` varchar(32) NOT NULL default '',\n"
     "  `lastlogin` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `sex` char(1) NOT NULL default 'M',\n"
     "  `logincount` mediumint(9) NOT NULL default '0',\n"
     "  `email` varchar(60) NOT NULL default '',\n"
     "  `level` smallint(3) NOT NULL default '0',\n"
     "  `error_message` int(11) NOT NULL default '0',\n"
     "  `connect_until` int(11) NOT NULL default '0',\n"
     "  `last_ip` varchar(100) NOT NULL default '',\n"
     "  `memo` int(11) NOT NULL default '0',\n"
     "  `ban_until` int(11) NOT NULL default '0',\n"
     "  `state` int(11) NOT NULL default '0',\n"
     "  PRIMARY KEY (`account_id`),\n"
     "  KEY `name` (`userid`)\n",
     "AUTO_INCREMENT=2000000", true},
    {"global_reg_value",
     "  `char_id` int(11) NOT NULL default '0',\n"
     "  `str` varchar(255) NOT NULL default '',\n"
     "  `value` varchar(255) NOT NULL default '0',\n"
     "  `type` int(11) NOT NULL default '3',\n"
     "  `account_id` int(11) NOT NULL default '0',\n"
     "  PRIMARY KEY (`char_id`,`str`,`account_id`),\n"
     "  KEY `account_id` (`account_id`)\n",
     "", true},
    {"char",
     "  `char_id` int(11) NOT NULL auto_increment,\n"
     "  `account_id` int(11) NOT NULL default '0',\n"
     "  `char_num` tinyint(4) NOT NULL default '0',\n"
     "  `name` varchar(30) NOT NULL default '',\n"
     "  `class` int(11) NOT NULL default '0',\n"
     "  `base_level` bigint(20) unsigned NOT NULL default '1',\n"
     "  `job_level` bigint(20) unsigned NOT NULL default '1',\n"
     "  `base_exp` bigint(20) NOT NULL default '0',\n"
     "  `job_exp` bigint(20) NOT NULL default '0',\n"
     "  `zeny` int(11) NOT NULL default '500',\n" TAVO_STATS(
         "int(11)") "  `max_hp` int(11) NOT NULL default '0',\n"
                    "  `hp` int(11) NOT NULL default '0',\n"
                    "  `max_sp` int(11) NOT NULL default '0',\n"
                    "  `sp` int(11) NOT NULL default '0',\n"
                    "  `status_point` int(11) NOT NULL default '0',\n"
                    "  `skill_point` int(11) NOT NULL default '0',\n"
                    "  `option` int(11) NOT NULL default '0',\n"
                    "  `karma` int(11) NOT NULL default '0',\n"
                    "  `manner` int(11) NOT NULL default '0',\n"
                    "  `party_id` int(11) NOT NULL default '0',\n"
                    "  `guild_id` int(11) NOT NULL default '0',\n"
                    "  `pet_id` int(11) NOT NULL default '0',\n"
                    "  `hair` tinyint(4) NOT NULL default '0',\n"
                    "  `hair_color` int(11) NOT NULL default '0',\n"
                    "  `clothes_color` tinyint(4) NOT NULL default '0',\n"
                    "  `weapon` int(11) NOT NULL default '1',\n"
                    "  `shield` int(11) NOT NULL default '0',\n"
                    "  `head_top` int(11) NOT NULL default '0',\n"
                    "  `head_mid` int(11) NOT NULL default '0',\n"
                    "  `head_bottom` int(11) NOT NULL default '0',\n"
                    "  `last_map` varchar(20) NOT NULL default 'new_5-1.gat',\n"
                    "  `last_x` int(4) NOT NULL default '53',\n"
                    "  `last_y` int(11) NOT NULL default '111',\n"
                    "  `save_map` varchar(20) NOT NULL default 'new_5-1.gat',\n"
                    "  `save_x` int(11) NOT NULL default '53',\n"
                    "  `save_y` int(11) NOT NULL default '111',\n"
                    "  `partner_id` int(11) NOT NULL default '0',\n"
                    "  `online` tinyint(4) NOT NULL default '0',\n"
                    "  PRIMARY KEY (`char_id`),\n"
                    "  KEY `account_id` (`account_id`),\n"
                    "  KEY `party_id` (`party_id`),\n"
                    "  KEY `guild_id` (`guild_id`),\n"
                    "  KEY `name` (`name`)\n",
     "", true},
    {"memo",
     "  `memo_id` int(11) NOT NULL auto_increment,\n"
     "  `char_id` int(11) NOT NULL default '0',\n"
     "  `map` varchar(255) NOT NULL default '',\n"
     "  `x` mediumint(9) NOT NULL default '0',\n"
     "  `y` mediumint(9) NOT NULL default '0',\n"
     "  PRIMARY KEY (`memo_id`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"inventory",
     "  `id` int(11) NOT NULL auto_increment,\n"
     "  `char_id` int(11) NOT NULL default '0',\n" TAVO_ITEM_2004 "  PRIMARY KEY (`id`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"cart_inventory",
     "  `id` int(11) NOT NULL auto_increment,\n"
     "  `char_id` int(11) NOT NULL default '0',\n" TAVO_ITEM_2004 "  PRIMARY KEY (`id`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"skill",
     "  `char_id` int(11) NOT NULL default '0',\n"
     "  `id` int(11) NOT NULL default '0',\n"
     "  `lv` tinyint(4) NOT NULL default '0',\n"
     "  PRIMARY KEY (`char_id`,`id`)\n",
     "", true},
    {"storage",
     "  `id` int(11) NOT NULL auto_increment,\n"
     "  `account_id` int(11) NOT NULL default '0',\n" TAVO_ITEM_2004 "  PRIMARY KEY (`id`),\n"
     "  KEY `account_id` (`account_id`)\n",
     "", true},
    {"pet",
     "  `pet_id` int(11) NOT NULL auto_increment,\n"
     "  `class` mediumint(9) NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `account_id` int(11) NOT NULL default '0',\n"
     "  `char_id` int(11) NOT NULL default '0',\n"
     "  `level` tinyint(4) NOT NULL default '0',\n"
     "  `egg_id` int(11) NOT NULL default '0',\n"
     "  `equip` mediumint(9) NOT NULL default '0',\n"
     "  `intimate` mediumint(9) NOT NULL default '0',\n"
     "  `hungry` mediumint(9) NOT NULL default '0',\n"
     "  `rename_flag` tinyint(4) NOT NULL default '0',\n"
     "  `incuvate` int(11) NOT NULL default '0',\n"
     "  PRIMARY KEY (`pet_id`)\n",
     "", true},
    {"party",
     "  `party_id` int(11) NOT NULL default '100',\n"
     "  `name` char(100) NOT NULL default '',\n"
     "  `exp` int(11) NOT NULL default '0',\n"
     "  `item` int(11) NOT NULL default '0',\n"
     "  `leader_id` int(11) NOT NULL default '0',\n"
     "  PRIMARY KEY (`party_id`)\n",
     "", true},
    {"guild",
     "  `guild_id` int(11) NOT NULL default '10000',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `master` varchar(24) NOT NULL default '',\n"
     "  `guild_lv` smallint(6) NOT NULL default '0',\n"
     "  `connect_member` smallint(6) NOT NULL default '0',\n"
     "  `max_member` smallint(6) NOT NULL default '0',\n"
     "  `average_lv` smallint(6) NOT NULL default '0',\n"
     "  `exp` int(11) NOT NULL default '0',\n"
     "  `next_exp` int(11) NOT NULL default '0',\n"
     "  `skill_point` int(11) NOT NULL default '0',\n"
     "  `castle_id` int(11) NOT NULL default '-1',\n"
     "  `mes1` varchar(60) NOT NULL default '',\n"
     "  `mes2` varchar(120) NOT NULL default '',\n"
     "  `emblem_len` int(11) NOT NULL default '0',\n"
     "  `emblem_id` int(11) NOT NULL default '0',\n"
     "  `emblem_data` blob NOT NULL,\n"
     "  PRIMARY KEY (`guild_id`)\n",
     "", true},
    {"guild_member",
     "  `guild_id` int(11) NOT NULL default '0',\n"
     "  `account_id` int(11) NOT NULL default '0',\n"
     "  `char_id` int(11) NOT NULL default '0',\n"
     "  `hair` smallint(6) NOT NULL default '0',\n"
     "  `hair_color` smallint(6) NOT NULL default '0',\n"
     "  `gender` smallint(6) NOT NULL default '0',\n"
     "  `class` smallint(6) NOT NULL default '0',\n"
     "  `lv` smallint(6) NOT NULL default '0',\n"
     "  `exp` int(11) NOT NULL default '0',\n"
     "  `exp_payper` int(11) NOT NULL default '0',\n"
     "  `online` tinyint(4) NOT NULL default '0',\n"
     "  `position` smallint(6) NOT NULL default '0',\n"
     "  `rsv1` int(11) NOT NULL default '0',\n"
     "  `rsv2` int(11) NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  KEY `guild_id` (`guild_id`),\n"
     "  KEY `account_id` (`account_id`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"guild_position",
     "  `guild_id` int(11) NOT NULL default '0',\n"
     "  `position` smallint(6) NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `mode` smallint(11) NOT NULL default '0',\n"
     "  `exp_mode` smallint(11) NOT NULL default '0',\n"
     "  KEY `guild_id` (`guild_id`)\n",
     "", true},
    {"guild_skill",
     "  `guild_id` int(11) NOT NULL default '0',\n"
     "  `id` int(11) NOT NULL default '0',\n"
     "  `lv` int(11) NOT NULL default '0',\n"
     "  KEY `guild_id` (`guild_id`)\n",
     "", true},
    {"guild_expulsion",
     "  `guild_id` int(11) NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `mes` varchar(40) NOT NULL default '',\n"
     "  `acc` varchar(40) NOT NULL default '',\n"
     "  `account_id` int(11) NOT NULL default '0',\n"
     "  `rsv1` int(11) NOT NULL default '0',\n"
     "  `rsv2` int(11) NOT NULL default '0',\n"
     "  `rsv3` int(11) NOT NULL default '0',\n"
     "  KEY `guild_id` (`guild_id`)\n",
     "", true},
    {"guild_storage",
     "  `id` int(11) NOT NULL auto_increment,\n"
     "  `guild_id` int(11) NOT NULL default '0',\n" TAVO_ITEM_2004 "  PRIMARY KEY (`id`),\n"
     "  KEY `guild_id` (`guild_id`)\n",
     "", true},
    {"guild_alliance",
     "  `guild_id` int(11) NOT NULL default '0',\n"
     "  `opposition` int(11) NOT NULL default '0',\n"
     "  `alliance_id` int(11) NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  KEY `alliance_id` (`alliance_id`)\n",
     "", true},
    {"guild_castle",
     "  `castle_id` int(11) NOT NULL default '0',\n"
     "  `guild_id` int(11) NOT NULL default '0',\n"
     "  `economy` int(11) NOT NULL default '0',\n"
     "  `defense` int(11) NOT NULL default '0',\n"
     "  `triggerE` int(11) NOT NULL default '0',\n"
     "  `triggerD` int(11) NOT NULL default '0',\n"
     "  `nextTime` int(11) NOT NULL default '0',\n"
     "  `payTime` int(11) NOT NULL default '0',\n"
     "  `createTime` int(11) NOT NULL default '0',\n"
     "  `visibleC` int(11) NOT NULL default '0',\n"
     "  `visibleG0` int(11) NOT NULL default '0',\n"
     "  `visibleG1` int(11) NOT NULL default '0',\n"
     "  `visibleG2` int(11) NOT NULL default '0',\n"
     "  `visibleG3` int(11) NOT NULL default '0',\n"
     "  `visibleG4` int(11) NOT NULL default '0',\n"
     "  `visibleG5` int(11) NOT NULL default '0',\n"
     "  `visibleG6` int(11) NOT NULL default '0',\n"
     "  `visibleG7` int(11) NOT NULL default '0',\n"
     "  `gHP0` int(11) NOT NULL default '0',\n"
     "  `ghP1` int(11) NOT NULL default '0',\n"
     "  `gHP2` int(11) NOT NULL default '0',\n"
     "  `gHP3` int(11) NOT NULL default '0',\n"
     "  `gHP4` int(11) NOT NULL default '0',\n"
     "  `gHP5` int(11) NOT NULL default '0',\n"
     "  `gHP6` int(11) NOT NULL default '0',\n"
     "  `gHP7` int(11) NOT NULL default '0',\n"
     "  PRIMARY KEY (`castle_id`)\n",
     "", true},
    {"friends",
     "  `char_id` int(11) NOT NULL default '0',\n"
     "  `friend_id1` int(11) NOT NULL default '0',\n  `name1` varchar(255) NOT NULL default '',\n"
     "  `friend_id2` int(11) NOT NULL default '0',\n  `name2` varchar(255) NOT NULL default '',\n"
     "  `friend_id3` int(11) NOT NULL default '0',\n  `name3` varchar(255) NOT NULL default '',\n"
     "  `friend_id4` int(11) NOT NULL default '0',\n  `name4` varchar(255) NOT NULL default '',\n"
     "  `friend_id5` int(11) NOT NULL default '0',\n  `name5` varchar(255) NOT NULL default '',\n"
     "  `friend_id6` int(11) NOT NULL default '0',\n  `name6` varchar(255) NOT NULL default '',\n"
     "  `friend_id7` int(11) NOT NULL default '0',\n  `name7` varchar(255) NOT NULL default '',\n"
     "  `friend_id8` int(11) NOT NULL default '0',\n  `name8` varchar(255) NOT NULL default '',\n"
     "  `friend_id9` int(11) NOT NULL default '0',\n  `name9` varchar(255) NOT NULL default '',\n"
     "  `friend_id10` int(11) NOT NULL default '0',\n  `name10` varchar(255) NOT NULL default '',\n"
     "  `friend_id11` int(11) NOT NULL default '0',\n  `name11` varchar(255) NOT NULL default '',\n"
     "  `friend_id12` int(11) NOT NULL default '0',\n  `name12` varchar(255) NOT NULL default '',\n"
     "  `friend_id13` int(11) NOT NULL default '0',\n  `name13` varchar(255) NOT NULL default '',\n"
     "  `friend_id14` int(11) NOT NULL default '0',\n  `name14` varchar(255) NOT NULL default '',\n"
     "  `friend_id15` int(11) NOT NULL default '0',\n  `name15` varchar(255) NOT NULL default '',\n"
     "  `friend_id16` int(11) NOT NULL default '0',\n  `name16` varchar(255) NOT NULL default '',\n"
     "  `friend_id17` int(11) NOT NULL default '0',\n  `name17` varchar(255) NOT NULL default '',\n"
     "  `friend_id18` int(11) NOT NULL default '0',\n  `name18` varchar(255) NOT NULL default '',\n"
     "  `friend_id19` int(11) NOT NULL default '0',\n  `name19` varchar(255) NOT NULL default '',\n"
     "  `friend_id20` int(11) NOT NULL default '0',\n  `name20` varchar(255) NOT NULL default '',\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"charlog",
     "  `time` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `char_msg` varchar(255) NOT NULL default 'char select',\n"
     "  `account_id` int(11) NOT NULL default '0',\n"
     "  `char_num` tinyint(4) NOT NULL default '0',\n"
     "  `name` varchar(255) NOT NULL default '',\n" TAVO_STATS(
         "int(11)") "  `hair` tinyint(4) NOT NULL default '0',\n"
                    "  `hair_color` int(11) NOT NULL default '0'\n",
     "", false},
    {"interlog",
     "  `time` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `log` varchar(255) NOT NULL default ''\n",
     "", false},
    {"ipbanlist",
     "  `list` varchar(255) NOT NULL default '',\n"
     "  `btime` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `rtime` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `reason` varchar(255) NOT NULL default ''\n",
     "", false},
    {"login_error",
     "  `err_id` int(11) NOT NULL default '0',\n"
     "  `reason` varchar(100) NOT NULL default 'Unknown',\n"
     "  PRIMARY KEY (`err_id`)\n",
     "", false},
    {"loginlog",
     "  `time` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `ip` int(10) unsigned NOT NULL default '0',\n"
     "  `user` varchar(32) NOT NULL default '',\n"
     "  `rcode` tinyint(4) NOT NULL default '0',\n"
     "  `log` varchar(255) NOT NULL default ''\n",
     "", false},
    {"ragsrvinfo",
     "  `index` int(11) NOT NULL default '0',\n"
     "  `name` varchar(255) NOT NULL default '',\n"
     "  `exp` int(11) NOT NULL default '0',\n"
     "  `jexp` int(11) NOT NULL default '0',\n"
     "  `drop` int(11) NOT NULL default '0',\n"
     "  `type` tinyint(1) NOT NULL default '0',\n"
     "  `text1` varchar(255) NOT NULL default '',\n"
     "  `text2` varchar(255) NOT NULL default '',\n"
     "  `text3` varchar(255) NOT NULL default '',\n"
     "  `text4` varchar(255) NOT NULL default ''\n",
     "", false},
    {"sstatus",
     "  `index` tinyint(4) NOT NULL default '0',\n"
     "  `name` varchar(255) NOT NULL default '',\n"
     "  `user` int(11) NOT NULL default '0'\n",
     "", false},
};

const TableText kTables2013[] = {
    {"login",
     "  `account_id` int(11) unsigned NOT NULL auto_increment,\n"
     "  `userid` varchar(23) NOT NULL default '',\n"
     "  `user_pass` varchar(32) NOT NULL default '',\n"
     "  `sex` enum('M','F','S') NOT NULL default 'M',\n"
     "  `email` varchar(39) NOT NULL default '',\n"
     "  `level` tinyint(3) NOT NULL default '0',\n"
     "  `state` int(11) unsigned NOT NULL default '0',\n"
     "  `unban_time` int(11) unsigned NOT NULL default '0',\n"
     "  `expiration_time` int(11) unsigned NOT NULL default '0',\n"
     "  `logincount` mediumint(9) unsigned NOT NULL default '0',\n"
     "  `lastlogin` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `last_ip` varchar(100) NOT NULL default '',\n"
     "  `birthdate` date NOT NULL default '0000-00-00',\n"
     "  PRIMARY KEY (`account_id`),\n"
     "  KEY `name` (`userid`)\n",
     "AUTO_INCREMENT=2000000", true},
    {"global_reg_value",
     "  `char_id` int(11) unsigned NOT NULL default '0',\n"
     "  `str` varchar(255) NOT NULL default '',\n"
     "  `value` varchar(255) NOT NULL default '0',\n"
     "  `type` tinyint(1) NOT NULL default '3',\n"
     "  `account_id` int(11) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`char_id`,`str`,`account_id`),\n"
     "  KEY `account_id` (`account_id`)\n",
     "", true},
    {"char",
     "  `char_id` int(11) unsigned NOT NULL auto_increment,\n"
     "  `account_id` int(11) unsigned NOT NULL default '0',\n"
     "  `char_num` tinyint(1) NOT NULL default '0',\n"
     "  `name` varchar(30) NOT NULL default '',\n"
     "  `class` smallint(6) unsigned NOT NULL default '0',\n"
     "  `base_level` smallint(6) unsigned NOT NULL default '1',\n"
     "  `job_level` smallint(6) unsigned NOT NULL default '1',\n"
     "  `base_exp` bigint(20) unsigned NOT NULL default '0',\n"
     "  `job_exp` bigint(20) unsigned NOT NULL default '0',\n"
     "  `zeny` int(11) unsigned NOT NULL default '0',\n" TAVO_STATS(
         "smallint(4) unsigned") "  `max_hp` mediumint(8) unsigned NOT NULL default '0',\n"
                                 "  `hp` mediumint(8) unsigned NOT NULL default '0',\n"
                                 "  `max_sp` mediumint(6) unsigned NOT NULL default '0',\n"
                                 "  `sp` mediumint(6) unsigned NOT NULL default '0',\n"
                                 "  `status_point` int(11) unsigned NOT NULL default '0',\n"
                                 "  `skill_point` int(11) unsigned NOT NULL default '0',\n"
                                 "  `option` int(11) NOT NULL default '0',\n"
                                 "  `karma` tinyint(3) NOT NULL default '0',\n"
                                 "  `manner` smallint(6) NOT NULL default '0',\n"
                                 "  `party_id` int(11) unsigned NOT NULL default '0',\n"
                                 "  `guild_id` int(11) unsigned NOT NULL default '0',\n"
                                 "  `pet_id` int(11) unsigned NOT NULL default '0',\n"
                                 "  `homun_id` int(11) unsigned NOT NULL default '0',\n"
                                 "  `hair` tinyint(4) unsigned NOT NULL default '0',\n"
                                 "  `hair_color` smallint(5) unsigned NOT NULL default '0',\n"
                                 "  `clothes_color` smallint(5) unsigned NOT NULL default '0',\n"
                                 "  `weapon` smallint(6) unsigned NOT NULL default '0',\n"
                                 "  `shield` smallint(6) unsigned NOT NULL default '0',\n"
                                 "  `head_top` smallint(6) unsigned NOT NULL default '0',\n"
                                 "  `head_mid` smallint(6) unsigned NOT NULL default '0',\n"
                                 "  `head_bottom` smallint(6) unsigned NOT NULL default '0',\n"
                                 "  `robe` smallint(6) unsigned NOT NULL default '0',\n"
                                 "  `last_map` varchar(11) NOT NULL default '',\n"
                                 "  `last_x` smallint(4) unsigned NOT NULL default '53',\n"
                                 "  `last_y` smallint(4) unsigned NOT NULL default '111',\n"
                                 "  `save_map` varchar(11) NOT NULL default '',\n"
                                 "  `save_x` smallint(4) unsigned NOT NULL default '53',\n"
                                 "  `save_y` smallint(4) unsigned NOT NULL default '111',\n"
                                 "  `partner_id` int(11) unsigned NOT NULL default '0',\n"
                                 "  `online` tinyint(2) NOT NULL default '0',\n"
                                 "  `father` int(11) unsigned NOT NULL default '0',\n"
                                 "  `mother` int(11) unsigned NOT NULL default '0',\n"
                                 "  `child` int(11) unsigned NOT NULL default '0',\n"
                                 "  `fame` int(11) unsigned NOT NULL default '0',\n"
                                 "  `rename` smallint(3) unsigned NOT NULL default '0',\n"
                                 "  `delete_date` int(11) unsigned NOT NULL default '0',\n"
                                 "  PRIMARY KEY (`char_id`),\n"
                                 "  UNIQUE KEY `name_key` (`name`),\n"
                                 "  KEY `account_id` (`account_id`),\n"
                                 "  KEY `party_id` (`party_id`),\n"
                                 "  KEY `guild_id` (`guild_id`),\n"
                                 "  KEY `online` (`online`)\n",
     "AUTO_INCREMENT=150000", true},
    {"memo",
     "  `memo_id` int(11) unsigned NOT NULL auto_increment,\n"
     "  `char_id` int(11) unsigned NOT NULL default '0',\n"
     "  `map` varchar(11) NOT NULL default '',\n"
     "  `x` smallint(4) unsigned NOT NULL default '0',\n"
     "  `y` smallint(4) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`memo_id`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"inventory",
     "  `id` int(11) unsigned NOT NULL auto_increment,\n"
     "  `char_id` int(11) unsigned NOT NULL default '0',\n" TAVO_ITEM_2013 "  PRIMARY KEY (`id`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"cart_inventory",
     "  `id` int(11) NOT NULL auto_increment,\n"
     "  `char_id` int(11) NOT NULL default '0',\n" TAVO_ITEM_2013 "  PRIMARY KEY (`id`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"skill",
     "  `char_id` int(11) unsigned NOT NULL default '0',\n"
     "  `id` smallint(11) unsigned NOT NULL default '0',\n"
     "  `lv` tinyint(4) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`char_id`,`id`)\n",
     "", true},
    {"storage",
     "  `id` int(11) unsigned NOT NULL auto_increment,\n"
     "  `account_id` int(11) unsigned NOT NULL default '0',\n" TAVO_ITEM_2013
     "  PRIMARY KEY (`id`),\n"
     "  KEY `account_id` (`account_id`)\n",
     "", true},
    {"pet",
     "  `pet_id` int(11) unsigned NOT NULL auto_increment,\n"
     "  `class` mediumint(9) unsigned NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `account_id` int(11) unsigned NOT NULL default '0',\n"
     "  `char_id` int(11) unsigned NOT NULL default '0',\n"
     "  `level` smallint(4) unsigned NOT NULL default '0',\n"
     "  `egg_id` smallint(11) unsigned NOT NULL default '0',\n"
     "  `equip` mediumint(8) unsigned NOT NULL default '0',\n"
     "  `intimate` smallint(9) unsigned NOT NULL default '0',\n"
     "  `hungry` smallint(9) unsigned NOT NULL default '0',\n"
     "  `rename_flag` tinyint(4) unsigned NOT NULL default '0',\n"
     "  `incuvate` int(11) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`pet_id`)\n",
     "", true},
    {"party",
     "  `party_id` int(11) unsigned NOT NULL auto_increment,\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `exp` tinyint(11) unsigned NOT NULL default '0',\n"
     "  `item` tinyint(11) unsigned NOT NULL default '0',\n"
     "  `leader_id` int(11) unsigned NOT NULL default '0',\n"
     "  `leader_char` int(11) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`party_id`)\n",
     "", true},
    {"guild",
     "  `guild_id` int(11) unsigned NOT NULL auto_increment,\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `char_id` int(11) unsigned NOT NULL default '0',\n"
     "  `master` varchar(24) NOT NULL default '',\n"
     "  `guild_lv` tinyint(6) unsigned NOT NULL default '0',\n"
     "  `connect_member` tinyint(6) unsigned NOT NULL default '0',\n"
     "  `max_member` tinyint(6) unsigned NOT NULL default '0',\n"
     "  `average_lv` smallint(6) unsigned NOT NULL default '1',\n"
     "  `exp` bigint(20) unsigned NOT NULL default '0',\n"
     "  `next_exp` int(11) unsigned NOT NULL default '0',\n"
     "  `skill_point` tinyint(11) unsigned NOT NULL default '0',\n"
     "  `mes1` varchar(60) NOT NULL default '',\n"
     "  `mes2` varchar(120) NOT NULL default '',\n"
     "  `emblem_len` int(11) unsigned NOT NULL default '0',\n"
     "  `emblem_id` int(11) unsigned NOT NULL default '0',\n"
     "  `emblem_data` blob,\n"
     "  PRIMARY KEY (`guild_id`,`char_id`),\n"
     "  UNIQUE KEY `guild_id` (`guild_id`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"guild_member",
     "  `guild_id` int(11) unsigned NOT NULL default '0',\n"
     "  `account_id` int(11) unsigned NOT NULL default '0',\n"
     "  `char_id` int(11) unsigned NOT NULL default '0',\n"
     "  `hair` tinyint(6) unsigned NOT NULL default '0',\n"
     "  `hair_color` smallint(6) unsigned NOT NULL default '0',\n"
     "  `gender` tinyint(6) unsigned NOT NULL default '0',\n"
     "  `class` smallint(6) unsigned NOT NULL default '0',\n"
     "  `lv` smallint(6) unsigned NOT NULL default '0',\n"
     "  `exp` bigint(20) unsigned NOT NULL default '0',\n"
     "  `exp_payper` tinyint(11) unsigned NOT NULL default '0',\n"
     "  `online` tinyint(4) unsigned NOT NULL default '0',\n"
     "  `position` tinyint(6) unsigned NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  PRIMARY KEY (`guild_id`,`char_id`),\n"
     "  KEY `account_id` (`account_id`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"guild_position",
     "  `guild_id` int(9) unsigned NOT NULL default '0',\n"
     "  `position` tinyint(6) unsigned NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `mode` tinyint(11) unsigned NOT NULL default '0',\n"
     "  `exp_mode` tinyint(11) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`guild_id`,`position`),\n"
     "  KEY `guild_id` (`guild_id`)\n",
     "", true},
    {"guild_skill",
     "  `guild_id` int(11) unsigned NOT NULL default '0',\n"
     "  `id` smallint(11) unsigned NOT NULL default '0',\n"
     "  `lv` tinyint(11) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`guild_id`,`id`)\n",
     "", true},
    {"guild_expulsion",
     "  `guild_id` int(11) unsigned NOT NULL default '0',\n"
     "  `account_id` int(11) unsigned NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `mes` varchar(40) NOT NULL default '',\n"
     "  PRIMARY KEY (`guild_id`,`name`)\n",
     "", true},
    {"guild_storage",
     "  `id` int(10) unsigned NOT NULL auto_increment,\n"
     "  `guild_id` int(11) unsigned NOT NULL default '0',\n" TAVO_ITEM_2013
     "  PRIMARY KEY (`id`),\n"
     "  KEY `guild_id` (`guild_id`)\n",
     "", true},
    {"guild_alliance",
     "  `guild_id` int(11) unsigned NOT NULL default '0',\n"
     "  `opposition` int(11) unsigned NOT NULL default '0',\n"
     "  `alliance_id` int(11) unsigned NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  PRIMARY KEY (`guild_id`,`alliance_id`),\n"
     "  KEY `alliance_id` (`alliance_id`)\n",
     "", true},
    {"guild_castle",
     "  `castle_id` int(11) unsigned NOT NULL default '0',\n"
     "  `guild_id` int(11) unsigned NOT NULL default '0',\n"
     "  `economy` int(11) unsigned NOT NULL default '0',\n"
     "  `defense` int(11) unsigned NOT NULL default '0',\n"
     "  `triggerE` int(11) unsigned NOT NULL default '0',\n"
     "  `triggerD` int(11) unsigned NOT NULL default '0',\n"
     "  `nextTime` int(11) unsigned NOT NULL default '0',\n"
     "  `payTime` int(11) unsigned NOT NULL default '0',\n"
     "  `createTime` int(11) unsigned NOT NULL default '0',\n"
     "  `visibleC` int(11) unsigned NOT NULL default '0',\n"
     "  `visibleG0` int(11) unsigned NOT NULL default '0',\n"
     "  `visibleG1` int(11) unsigned NOT NULL default '0',\n"
     "  `visibleG2` int(11) unsigned NOT NULL default '0',\n"
     "  `visibleG3` int(11) unsigned NOT NULL default '0',\n"
     "  `visibleG4` int(11) unsigned NOT NULL default '0',\n"
     "  `visibleG5` int(11) unsigned NOT NULL default '0',\n"
     "  `visibleG6` int(11) unsigned NOT NULL default '0',\n"
     "  `visibleG7` int(11) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`castle_id`),\n"
     "  KEY `guild_id` (`guild_id`)\n",
     "", true},
    {"friends",
     "  `char_id` int(11) NOT NULL default '0',\n"
     "  `friend_account` int(11) NOT NULL default '0',\n"
     "  `friend_id` int(11) NOT NULL default '0',\n"
     "  KEY `char_id` (`char_id`)\n",
     "", true},
    {"mapreg",
     "  `varname` varchar(32) NOT NULL,\n"
     "  `index` int(11) unsigned NOT NULL default '0',\n"
     "  `value` varchar(255) NOT NULL,\n"
     "  KEY `varname` (`varname`),\n"
     "  KEY `index` (`index`)\n",
     "", true},
    {"auction",
     "  `auction_id` bigint(20) unsigned NOT NULL auto_increment,\n"
     "  `seller_id` int(11) unsigned NOT NULL default '0',\n"
     "  `seller_name` varchar(30) NOT NULL default '',\n"
     "  `buyer_id` int(11) unsigned NOT NULL default '0',\n"
     "  `buyer_name` varchar(30) NOT NULL default '',\n"
     "  `price` int(11) unsigned NOT NULL default '0',\n"
     "  `buynow` int(11) unsigned NOT NULL default '0',\n"
     "  `hours` smallint(6) NOT NULL default '0',\n"
     "  `timestamp` int(11) unsigned NOT NULL default '0',\n"
     "  `nameid` int(11) unsigned NOT NULL default '0',\n"
     "  `item_name` varchar(50) NOT NULL default '',\n"
     "  `type` smallint(6) NOT NULL default '0',\n"
     "  `refine` tinyint(3) unsigned NOT NULL default '0',\n"
     "  `attribute` tinyint(4) unsigned NOT NULL default '0',\n"
     "  `card0` smallint(11) NOT NULL default '0',\n"
     "  `card1` smallint(11) NOT NULL default '0',\n"
     "  `card2` smallint(11) NOT NULL default '0',\n"
     "  `card3` smallint(11) NOT NULL default '0',\n"
     "  PRIMARY KEY (`auction_id`)\n",
     "", false},
    {"charlog",
     "  `time` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `char_msg` varchar(255) NOT NULL default 'char select',\n"
     "  `account_id` int(11) NOT NULL default '0',\n"
     "  `char_num` tinyint(4) NOT NULL default '0',\n"
     "  `name` varchar(23) NOT NULL default '',\n" TAVO_STATS(
         "int(11) unsigned") "  `hair` tinyint(4) NOT NULL default '0',\n"
                             "  `hair_color` int(11) NOT NULL default '0'\n",
     "", false},
    {"homunculus",
     "  `homun_id` int(11) NOT NULL auto_increment,\n"
     "  `char_id` int(11) NOT NULL,\n"
     "  `class` mediumint(9) unsigned NOT NULL default '0',\n"
     "  `name` varchar(24) NOT NULL default '',\n"
     "  `level` smallint(4) NOT NULL default '0',\n"
     "  `exp` int(12) NOT NULL default '0',\n"
     "  `intimacy` int(12) NOT NULL default '0',\n"
     "  `hunger` smallint(4) NOT NULL default '0',\n" TAVO_STATS(
         "smallint(4) unsigned") "  `hp` int(12) NOT NULL default '1',\n"
                                 "  `max_hp` int(12) NOT NULL default '1',\n"
                                 "  `sp` int(12) NOT NULL default '0',\n"
                                 "  `max_sp` int(12) NOT NULL default '0',\n"
                                 "  `skill_point` smallint(4) unsigned NOT NULL default '0',\n"
                                 "  `alive` tinyint(2) NOT NULL default '1',\n"
                                 "  `rename_flag` tinyint(2) NOT NULL default '0',\n"
                                 "  `vaporize` tinyint(2) NOT NULL default '0',\n"
                                 "  PRIMARY KEY (`homun_id`)\n",
     "", false},
    {"hotkey",
     "  `char_id` int(11) NOT NULL,\n"
     "  `hotkey` tinyint(2) unsigned NOT NULL,\n"
     "  `type` tinyint(1) unsigned NOT NULL default '0',\n"
     "  `itemskill_id` int(11) unsigned NOT NULL default '0',\n"
     "  `skill_lvl` tinyint(4) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`char_id`,`hotkey`),\n"
     "  KEY `char_id` (`char_id`)\n",
     "", false},
    {"interlog",
     "  `time` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `log` varchar(255) NOT NULL default ''\n",
     "", false},
    {"ipbanlist",
     "  `list` varchar(255) NOT NULL default '',\n"
     "  `btime` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `rtime` datetime NOT NULL default '0000-00-00 00:00:00',\n"
     "  `reason` varchar(255) NOT NULL default '',\n"
     "  KEY `list` (`list`)\n",
     "", false},
    {"mail",
     "  `id` bigint(20) unsigned NOT NULL auto_increment,\n"
     "  `send_name` varchar(30) NOT NULL default '',\n"
     "  `send_id` int(11) unsigned NOT NULL default '0',\n"
     "  `dest_name` varchar(30) NOT NULL default '',\n"
     "  `dest_id` int(11) unsigned NOT NULL default '0',\n"
     "  `title` varchar(45) NOT NULL default '',\n"
     "  `message` varchar(255) NOT NULL default '',\n"
     "  `time` int(11) unsigned NOT NULL default '0',\n"
     "  `status` tinyint(2) NOT NULL default '0',\n"
     "  `zeny` int(11) unsigned NOT NULL default '0',\n"
     "  `nameid` int(11) unsigned NOT NULL default '0',\n"
     "  `amount` int(11) unsigned NOT NULL default '0',\n"
     "  `refine` tinyint(3) unsigned NOT NULL default '0',\n"
     "  `attribute` tinyint(4) unsigned NOT NULL default '0',\n"
     "  `identify` smallint(6) NOT NULL default '0',\n"
     "  `card0` smallint(11) NOT NULL default '0',\n"
     "  `card1` smallint(11) NOT NULL default '0',\n"
     "  `card2` smallint(11) NOT NULL default '0',\n"
     "  `card3` smallint(11) NOT NULL default '0',\n"
     "  PRIMARY KEY (`id`)\n",
     "", false},
    {"mercenary",
     "  `mer_id` int(11) unsigned NOT NULL auto_increment,\n"
     "  `char_id` int(11) NOT NULL,\n"
     "  `class` mediumint(9) unsigned NOT NULL default '0',\n"
     "  `hp` int(12) NOT NULL default '1',\n"
     "  `sp` int(12) NOT NULL default '1',\n"
     "  `kill_counter` int(11) NOT NULL,\n"
     "  `life_time` bigint(20) NOT NULL default '0',\n"
     "  PRIMARY KEY (`mer_id`)\n",
     "", false},
    {"mercenary_owner",
     "  `char_id` int(11) NOT NULL,\n"
     "  `merc_id` int(11) NOT NULL default '0',\n"
     "  `arch_calls` int(11) NOT NULL default '0',\n"
     "  `arch_faith` int(11) NOT NULL default '0',\n"
     "  `spear_calls` int(11) NOT NULL default '0',\n"
     "  `spear_faith` int(11) NOT NULL default '0',\n"
     "  `sword_calls` int(11) NOT NULL default '0',\n"
     "  `sword_faith` int(11) NOT NULL default '0',\n"
     "  PRIMARY KEY (`char_id`)\n",
     "", false},
    {"quest",
     "  `char_id` int(11) unsigned NOT NULL default '0',\n"
     "  `quest_id` int(10) unsigned NOT NULL,\n"
     "  `state` enum('0','1','2') NOT NULL default '0',\n"
     "  `time` int(11) unsigned NOT NULL default '0',\n"
     "  `count1` mediumint(8) unsigned NOT NULL default '0',\n"
     "  `count2` mediumint(8) unsigned NOT NULL default '0',\n"
     "  `count3` mediumint(8) unsigned NOT NULL default '0',\n"
     "  PRIMARY KEY (`char_id`,`quest_id`)\n",
     "", false},
    {"ragsrvinfo",
     "  `index` int(11) NOT NULL default '0',\n"
     "  `name` varchar(255) NOT NULL default '',\n"
     "  `exp` int(11) unsigned NOT NULL default '0',\n"
     "  `jexp` int(11) unsigned NOT NULL default '0',\n"
     "  `drop` int(11) unsigned NOT NULL default '0'\n",
     "", false},
    {"sc_data",
     "  `account_id` int(11) unsigned NOT NULL,\n"
     "  `char_id` int(11) unsigned NOT NULL,\n"
     "  `type` smallint(11) unsigned NOT NULL,\n"
     "  `tick` int(11) NOT NULL,\n"
     "  `val1` int(11) NOT NULL default '0',\n"
     "  `val2` int(11) NOT NULL default '0',\n"
     "  `val3` int(11) NOT NULL default '0',\n"
     "  `val4` int(11) NOT NULL default '0',\n"
     "  KEY (`account_id`),\n"
     "  KEY (`char_id`)\n",
     "", false},
    {"skill_homunculus",
     "  `homun_id` int(11) NOT NULL,\n"
     "  `id` int(11) NOT NULL,\n"
     "  `lv` smallint(6) NOT NULL,\n"
     "  PRIMARY KEY (`homun_id`,`id`)\n",
     "", false},
    {"sstatus",
     "  `index` tinyint(4) unsigned NOT NULL default '0',\n"
     "  `name` varchar(255) NOT NULL default '',\n"
     "  `user` int(11) unsigned NOT NULL default '0'\n",
     "", false},
};

#undef TAVO_ITEM_2004
#undef TAVO_ITEM_2013
#undef TAVO_STATS

// The number in "type(N)", or 0.
std::size_t width_of(std::string_view type) {
    const std::size_t open = type.find('(');
    if (open == std::string_view::npos) return 0;
    std::size_t n = 0;
    for (std::size_t i = open + 1; i < type.size() && type[i] >= '0' && type[i] <= '9'; ++i) {
        n = n * 10 + static_cast<std::size_t>(type[i] - '0');
    }
    return n;
}

// One column line: "  `name` type(...) [unsigned] ...".
SqlColumn read_column(std::string_view line) {
    SqlColumn column;
    const std::size_t open = line.find('`');
    const std::size_t close = line.find('`', open + 1);
    column.name = std::string(line.substr(open + 1, close - open - 1));
    const std::string type = to_lower(trim_blanks(line.substr(close + 1)));
    // "default '0'": no default in the schema holds a quote.
    const std::size_t given = to_lower(line).find(" default '");
    if (given != std::string::npos) {
        const std::size_t from = given + 10;
        column.fallback = std::string(line.substr(from, line.find('\'', from) - from));
    }
    const bool is_unsigned = contains(type, " unsigned");
    struct IntegerType {
        const char* word;
        int bits;
    };
    constexpr IntegerType kIntegers[] = {
        {"tinyint", 8}, {"smallint", 16}, {"mediumint", 24}, {"bigint", 64}, {"int", 32}};
    for (const IntegerType& t : kIntegers) {
        if (!type.starts_with(t.word)) continue;
        if (t.bits == 64) {
            column.low = is_unsigned ? 0 : INT64_MIN;
            column.high = is_unsigned ? UINT64_MAX : INT64_MAX;
        } else {
            column.low = is_unsigned ? 0 : -(1LL << (t.bits - 1));
            column.high = is_unsigned ? (1ULL << t.bits) - 1 : (1ULL << (t.bits - 1)) - 1;
        }
        return column;
    }
    if (type.starts_with("varchar") || type.starts_with("char")) {
        column.kind = SqlColumn::Kind::Text;
        column.length = width_of(type);
    } else if (type.starts_with("blob")) {
        column.kind = SqlColumn::Kind::Text;
        column.length = 65535;
    } else if (type.starts_with("datetime") || type.starts_with("date")) {
        column.kind = SqlColumn::Kind::Date;
    } else if (type.starts_with("enum")) {
        // The choices as the line writes them, letter case kept.
        column.kind = SqlColumn::Kind::Enum;
        const std::size_t at = line.find("enum(") + 5;
        for (std::string_view choice : split(line.substr(at, line.find(')', at) - at), ',')) {
            column.choices.emplace_back(choice.substr(1, choice.size() - 2));
        }
    } else {
        throw std::logic_error("unknown column type: " + type);
    }
    return column;
}

std::vector<SqlTable> make_tables(const TableText* texts, std::size_t count) {
    std::vector<SqlTable> tables;
    for (std::size_t i = 0; i < count; ++i) {
        const TableText& t = texts[i];
        SqlTable table;
        table.name = t.name;
        table.filled = t.filled;
        table.create = std::string("CREATE TABLE `") + t.name + "` (\n" + t.body +
                       ") ENGINE=MyISAM DEFAULT CHARSET=latin1";
        if (*t.options != '\0') table.create.append(" ").append(t.options);
        for (std::string_view line : split(t.body, '\n')) {
            if (line.starts_with("  `")) table.columns.push_back(read_column(line));
        }
        tables.push_back(std::move(table));
    }
    return tables;
}

}  // namespace

std::optional<SqlEra> sql_era_named(std::string_view name) {
    if (name == "2004") return SqlEra::Y2004;
    if (name == "2013") return SqlEra::Y2013;
    return std::nullopt;
}

std::string_view sql_era_name(SqlEra era) {
    return era == SqlEra::Y2004 ? "2004" : "2013";
}

const SqlColumn* SqlTable::column(std::string_view wanted) const {
    for (const SqlColumn& c : columns) {
        if (c.name == wanted) return &c;
    }
    return nullptr;
}

const std::vector<SqlTable>& sql_tables(SqlEra era) {
    static const std::vector<SqlTable> tables2004 =
        make_tables(kTables2004, std::size(kTables2004));
    static const std::vector<SqlTable> tables2013 =
        make_tables(kTables2013, std::size(kTables2013));
    return era == SqlEra::Y2004 ? tables2004 : tables2013;
}

const SqlTable& sql_table(SqlEra era, std::string_view name) {
    for (const SqlTable& t : sql_tables(era)) {
        if (t.name == name) return t;
    }
    throw std::logic_error("no table " + std::string(name));
}

}  // namespace tavo
