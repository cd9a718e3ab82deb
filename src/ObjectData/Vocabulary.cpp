// Compiled once per command set; KX_COMMAND_SET_EN selects the English codes.
#include "ObjectData/Vocabulary.h"

#ifdef KX_COMMAND_SET_EN

const char16_t CMD_HEADER[] = u"*#1";
const char16_t CMD_SCREEN[] = u"LSET";
const char16_t CMD_VERSION[] = u"FVER";
const char16_t CMD_ZONE[] = u"MZON";
const char16_t CMD_CLOCK_ZONE[] = u"NZAA";
const char16_t CMD_TIME_ZONE[] = u"NZAB";
const char16_t CMD_RESET_ZONE[] = u"OZRS";
const char16_t CMD_RESET_ALL[] = u"OPNL";
const char16_t CMD_BIND[] = u"SBDP";
const char16_t CMD_DELETE[] = u"GDEL";
const char16_t CMD_CLEAR_ALL[] = u"HALL999";
const char16_t CMD_CLOCK[] = u"ITIM";
const char16_t CMD_BRIGHTNESS[] = u"JLIT";
const char16_t CMD_POWER_ON[] = u"KSLP";
const char16_t CMD_POWER_OFF[] = u"KSLP";
const char16_t CMD_TIMED_BRIGHTNESS[] = u"JLIA";
const char16_t CMD_TIMED_POWER[] = u"KSLA";
const char16_t CMD_ECHO[] = u"PECH";
const char16_t CMD_MESSAGE[] = u"E";
const bool CMD_POWER_TAKES_STATE = true;
const char CMD_SET_NAME[] = "EN";

#else

const char16_t CMD_HEADER[] = u"朔禾";
const char16_t CMD_SCREEN[] = u"屏参";
const char16_t CMD_VERSION[] = u"版本";
const char16_t CMD_ZONE[] = u"分区";
const char16_t CMD_CLOCK_ZONE[] = u"表盘分区";
const char16_t CMD_TIME_ZONE[] = u"时间分区";
const char16_t CMD_RESET_ZONE[] = u"重置分区";
const char16_t CMD_RESET_ALL[] = u"复位";
const char16_t CMD_BIND[] = u"绑定";
const char16_t CMD_DELETE[] = u"删除";
const char16_t CMD_CLEAR_ALL[] = u"清空";
const char16_t CMD_CLOCK[] = u"校时";
const char16_t CMD_BRIGHTNESS[] = u"亮度";
const char16_t CMD_POWER_ON[] = u"开机";
const char16_t CMD_POWER_OFF[] = u"关机";
const char16_t CMD_TIMED_BRIGHTNESS[] = u"定时调亮";
const char16_t CMD_TIMED_POWER[] = u"定时开关";
const char16_t CMD_ECHO[] = u"回显";
const char16_t CMD_MESSAGE[] = u"完整";
const bool CMD_POWER_TAKES_STATE = false;
const char CMD_SET_NAME[] = "CN";

#endif
