#include "core/app/BuiltinTexts.h"

#include <algorithm>
#include <array>

namespace dorvane {

namespace {

struct BuiltinText
{
    int id;
    std::string_view text;
};

// The program's own (Chinese) texts, sorted by id. 379 and 380 refuse writes
// that would destroy the open survey or that have no file to go to; 381 says
// that deleting the only frame left a file of just its header; 382 refuses
// edits of a survey that could only be opened for reading; 383 marks a
// simulated probe in the acquisition window's caption; 384 and 385 say that
// a save cut off part way was taken back when the survey was opened, or
// could not be; 386 and 387 name the keys that step one frame; 388 says
// that the manual could not be shown; 389 stands in an empty list of recent
// surveys; 390 is the version line of the about box; 391 and 393 say that a
// recording without a single frame left no file, or that its empty file
// could not be removed; 392 that a recording stopped by a failed write could
// not be cut back to its last whole frame and written to the disk. 394 and
// 395 say that another program is changing the survey, or changed it since
// it was opened; 396 and 397 that the save journal beside it is damaged, or
// that something other than a file has its name; 398 names a temporary file
// of an interrupted save that was removed; 400 stands in the report for a
// pipe without a graded defect; 421 to 424 and 426 are the assessment
// chart's axis, series and grade labels; 427 to 452 are the assessment page
// and the grading table's choice on the settings page; 453 and 454 say that
// the survey library's database was rebuilt, or cannot be had; 401 to 416
// are the titles and filters of the file dialogs; 455 to 484 are the library
// page and its batch reports; 485 and 486 tell where an export was saved,
// or that no program could open it; 487 is the 3D page's camera switch;
// 488 warns of a partial frame at the end of a survey; 489 and 490 tell the
// file being recorded and the file saved; 491 to 493 are the report's survey
// date and company on the pipe attributes page; 494 stands in the report for
// its frame pictures when no frame is marked, 495 is the caption below each.
constexpr BuiltinText kBuiltinTexts[] = {
    {101, "关于 Tessiq(&A)..."},
    {102, "确定要退出程序？"},
    {103, "正在读取数据..."},
    {104, "正在保存数据..."},
    {105, "保存BMP文件失败"},
    {106, "保存文件失败"},
    {108, "最大值"},
    {109, "最小值"},
    {110, "颜色数"},
    {111, "管道名:"},
    {112, "标题:"},
    {113, "线缆长度(m):"},
    {114, "倾角:"},
    {115, "转角:"},
    {116, "探测半径(mm):"},
    {117, "管道半径(mm):"},
    {118, "误差率(%):"},
    {119, "备注:"},
    {120, "圆工具:"},
    {121, "测量尺(mm):"},
    {125, "此帧不参与淤泥计算"},
    {126, "此帧存在缺陷，标注到播放进度条"},
    {127, "此帧截图输出至报告"},
    {128, "注: 左键移动圆,右键画测量尺"},
    {130, "缺陷帧"},
    {131, "淤泥量:"},
    {132, "淤泥深度(毫米):"},
    {134, "当前数据已更改，要保存吗？"},
    {138, "正在构造3D模型"},
    {143, "请重启程序生效语言配置"},
    {144, "语言"},
    {145, "播放速率"},
    {148, "创建DirectX3D设备失败"},
    {149, "3D模块CULLMODE失败"},
    {150, "设置深度缓存失败"},
    {151, "设置光源失败"},
    {152, "3D模块初始化失败"},
    {160, "导入IMG文件"},
    {161, "数据采集"},
    {166, "关于 Tessiq"},
    {167, "管道声纳检测系统"},
    {171, "帧数:"},
    {176, "打开文件失败"},
    {177, "文件格式非法"},
    {178, "IMG文件错误"},
    {179, "文件数据错误"},
    {180, "动画数据帧存在错误"},
    {181, "读取文件数据出错"},
    {183, "帧数据头存在错误"},
    {186, "创建文件失败 "},
    {188, "正在导出视频文件"},
    {189, "压缩AVI出错,错误信息：\r\n"},
    {190, "需要将文字叠加信息导出至视频吗？"},
    {192, "显示标题信息"},
    {193, "显示注释信息"},
    {194, "当探头倾角超过45度时发出警报音"},
    {195, "应用到之前的所有帧"},
    {196, "应用到之后的所有帧"},
    {198, "应用到所有帧"},
    {199, "确定要将该管道半径应用到整个动画,并保存至动画文件吗？"},
    {200, "确定要将该误差率应用到整个动画,并保存至动画文件吗？"},
    {201, "正在修改数据..."},
    {203, "确定要将该圆应用到之前的所有帧,并保存至动画文件吗？"},
    {204, "确定要将该圆应用到之后的所有帧,并保存至动画文件吗？"},
    {205, "确定要将该属性应用到整个动画,并保存至动画文件吗？"},
    {208, "采集数据"},
    {209, "导入数据"},
    {210, "打开动画"},
    {211, "数据另存"},
    {212, "视图截图"},
    {213, "导出视频"},
    {214, "保存修改"},
    {215, "丢弃修改"},
    {216, "生成报表"},
    {217, "保存修改(Ctrl+S)"},
    {219, "动画视图"},
    {220, "描边视图"},
    {221, "三维视图"},
    {222, "当前属性"},
    {223, "系统设置"},
    {224, "管道属性"},
    {225, "帮助主题"},
    {228, "向后播放(Ctrl+A单帧后退)"},
    {229, "暂停播放"},
    {230, "向前播放(Ctrl+D单帧前进)"},
    {237, "显示标尺"},
    {238, "灰度/彩色"},
    {239, "恢复默认"},
    {241, "淤泥曲线"},
    {245, "采集数据"},
    {246, "停止采集"},
    {248, "该帧视图"},
    {249, "管道属性"},
    {250, "文件列表"},
    {252, "保存动画"},
    {253, "导入文件"},
    {256, "向上移动"},
    {257, "向下移动"},
    {258, "从列表删除"},
    {265, "保存设置"},
    {277, "正在导出报告..."},
    {278, "OLE 程序初始化失败。请确认 OLE 库程序是正确的版本。"},
    {279, "无法生成模板文件"},
    {280, "无法导出word文档，请先安装OFFICE软件。"},
    {286, "导出报告时发生错误"},
    {292, "地点:"},
    {293, "开始井号:"},
    {294, "结束井号:"},
    {304, "旋转控制"},
    {305, "平移控制"},
    {306, "缩放控制"},
    {307, "视点控制"},
    {309, "中心视点"},
    {310, "外部视点"},
    {311, "内部视点"},
    {312, "远景视点"},
    {317, "淤泥深度分布图"},
    {318, "管长(m)"},
    {319, "淤泥深度(mm)"},
    {322, "管顶线\r\n%dmm"},
    {323, "平均%dmm"},
    {331, "探测半径:"},
    {332, "管道半径:"},
    {333, "气压:"},
    {334, "温度:"},
    {335, "电压:"},
    {337, "请输入正确的管道半径值"},
    {351, "图形控制"},
    {352, "文件前移"},
    {353, "文件后移"},
    {354, "距离(m)"},
    {355, "脉冲宽度"},
    {356, "数据保存间距"},
    {357, "删除该帧"},
    {358, "确定要删除该帧吗？ (警告：该操作会导致数据丢失且不能撤销)"},
    {362, "检测探头状态失败"},
    {363, "探头准备就绪"},
    {364, "探头尚未就绪"},
    {365, "无法加载系统DLL,请重新安装软件"},
    {366, "正在等待设备连接"},
    {367, "设备连接,正在下载Bin文件"},
    {368, "下载Bin文件失败"},
    {369, "下载Bin文件完成"},
    {370, "下载Bin文件完成正在获取硬件数据"},
    {371, "发送命令失败"},
    {372, "设备已连接，版本："},
    {373, "发送启动探头命令失败"},
    {374, "发送获取管道命令失败"},
    {375, "设置探测半径失败"},
    {376, "设置脉宽失败"},
    {377, "距离清零"},
    {378, "发送清零命令失败"},
    {379, "不能将数据另存到当前打开的动画文件"},
    {380, "当前数据来自IMG文件，没有可写入的动画文件"},
    {381, "已删除唯一的一帧：文件中只剩文件头，无法再打开"},
    {382, "文件是只读的，不能保存修改"},
    {383, "（模拟探头）"},
    {384, "上次保存此文件时被中断，文件已恢复到那次保存之前的状态"},
    {385, "上次保存此文件时被中断，文件未能恢复：部分帧可能带有那次保存的修改"},
    {386, "Ctrl+A：后退一帧"},
    {387, "Ctrl+D：前进一帧"},
    {388, "无法打开帮助手册：无法启动网页浏览器"},
    {389, "（没有最近打开的文件）"},
    {390, "Tessiq %1 版"},
    {391, "没有采集到数据帧，已删除空文件"},
    {392, "采集的文件未能截回到最后一个完整帧并写入磁盘"},
    {393, "没有采集到数据帧，空文件未能删除"},
    {394, "文件正被另一个程序修改，请稍后再试"},
    {395, "文件在打开后已被另一个程序修改，请重新打开"},
    {396, "文件旁的保存日志已损坏：未使用，也未删除"},
    {397, "保存日志的文件名被链接、文件夹或设备占用：未改动，不能保存"},
    {398, "已删除中断的保存留下的临时文件"},
    {400, "没有达到 1 级的缺陷。"},
    {401, "打开动画文件"},
    {402, "保存动画文件"},
    {403, "导出图像"},
    {404, "导出视频"},
    {405, "生成报表"},
    {406, "选择探头图像文件"},
    {407, "动画文件和探头图像 (*.Imv *.img)"},
    {408, "动画文件 (*.Imv)"},
    {409, "探头图像 (*.img)"},
    {410, "所有文件 (*)"},
    {411, "BMP 图像 (*.bmp)"},
    {412, "AVI 视频 (*.avi)"},
    {413, "Word 97 文档 (*.doc)"},
    {414, "Word 文档 (*.docx)"},
    {415, "PDF 文档 (*.pdf)"},
    {416, "评级标准 (*.json)"},
    {421, "电缆长度(m)"},
    {422, "容量损失"},
    {423, "沉积深度占比"},
    {424, "变形"},
    {426, "%1级"},
    {427, "评估"},
    {428, "评估长度"},
    {429, "沉积量"},
    {430, "平均容量损失"},
    {431, "最大容量损失"},
    {432, "%1（第 %2 帧）"},
    {433, "最严重"},
    {434, "各等级长度(m)"},
    {435, "代码"},
    {436, "缺陷"},
    {437, "等级"},
    {438, "分值"},
    {439, "起点(m)"},
    {440, "终点(m)"},
    {441, "长度(m)"},
    {442, "最严重值"},
    {443, "帧"},
    {444, "评级标准文件无法使用，改用随程序提供的标准"},
    {445, "评级标准:"},
    {446, "随程序提供的标准"},
    {447, "选择..."},
    {448, "默认"},
    {449, "选择评级标准文件"},
    {450, "第 %1 帧，%2 m"},
    {451, "未评估"},
    {452, "评级标准文件无法使用，仍用原来选择的标准"},
    {453, "资料库文件已损坏或不是资料库，已移到一旁并重新建立"},
    {454, "资料库无法打开"},
    {455, "资料库"},
    {456, "添加文件夹..."},
    {457, "移除文件夹"},
    {458, "重新扫描"},
    {459, "生成所选报表..."},
    {460, "搜索地点、井号或路径"},
    {461, "全部等级"},
    {462, "%1级及以上"},
    {463, "取消"},
    {464, "地点"},
    {465, "井段"},
    {466, "帧数"},
    {467, "平均淤积(%)"},
    {468, "最大沉积深度(%)"},
    {469, "沉积等级"},
    {470, "变形等级"},
    {471, "沉积量(m³)"},
    {472, "平均容量损失(%)"},
    {473, "最大容量损失(%)"},
    {474, "文件"},
    {475, "正在扫描资料库..."},
    {476, "%1 个检测，%2 个无法读取"},
    {477, "选择要加入资料库的文件夹"},
    {478, "选择报表保存的文件夹"},
    {479, "已生成 %1 份报表和项目汇总，%2 份失败"},
    {480, "无法启动批处理工具"},
    {481, "正在生成报表..."},
    {482, "无法读取：%1"},
    {483, "已取消：只保留了完整的报表"},
    {484, "以下检测未能生成报表："},
    {485, "已保存到 %1"},
    {486, "没有可以打开此文件的程序"},
    {487, "播放时相机固定不动（远景视角会打开此项）"},
    {488, "文件末尾有一个不完整的帧（%1 字节），未读入"},
    {489, "正在采集到 %1：%2 帧"},
    {490, "已保存 %1：%2 帧"},
    {491, "检测日期:"},
    {492, "检测单位:"},
    {493, "用于报告，保存在本机设置中，不写入检测文件"},
    {494, "没有标记用于报告的帧。"},
    {495, "第 %1 帧，电缆长度 %2 m"},
};

constexpr bool sortedById()
{
    for (size_t i = 1; i < std::size(kBuiltinTexts); ++i)
        if (kBuiltinTexts[i - 1].id >= kBuiltinTexts[i].id)
            return false;
    return true;
}
static_assert(sortedById(), "the built-in text table must be sorted by id");

} // namespace

std::string_view builtinText(int id)
{
    const auto *end = std::end(kBuiltinTexts);
    const auto *it = std::lower_bound(std::begin(kBuiltinTexts), end, id,
                                      [](const BuiltinText &t, int v) { return t.id < v; });
    if (it == end || it->id != id)
        return {};
    return it->text;
}

std::vector<int> builtinTextIds()
{
    std::vector<int> ids;
    ids.reserve(std::size(kBuiltinTexts));
    for (const auto &t : kBuiltinTexts)
        ids.push_back(t.id);
    return ids;
}

} // namespace dorvane
