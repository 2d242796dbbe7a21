#include "common/texts.h"

namespace qz {

// Shown in the licence page's edit control. Each heading is the heading word,
// a full-width colon and one space.
const char kLicenseText[] =
    "Qorvane 软件最终用户许可协议\r\n"
    "\r\n"
    "安装及使用时请仔细阅读以下须知：\r\n"
    "\r\n"
    "授权： \r\n"
    "本软件可以免费安装在一台或多台计算机上使用。\r\n"
    "您可以复制本软件并将副本赠送给他人，但不得出售、出租本软件或将其用于其他商业目的。\r\n"
    "限制： \r\n"
    "不得对本软件的任何部分进行仿制、修改、改编、增强、补充或以其为基础派生其他作品。\r\n"
    "    严禁以任何形式对本软件进行反向工程、反编译或反汇编。\r\n"
    "著作权声明： \r\n"
    "本软件及其所有副本的著作权和其他一切权利均归塔恩维尔软件（Tarnwell）所有。\r\n"
    "\r\n"
    "注意： \r\n"
    "   如果您未遵守本协议的条件，塔恩维尔软件可以终止本协议，届时您必须销毁本软件的全部副本，包括其更新版本及所有组成部分。\r\n"
    "\r\n"
    "生效和终止： \r\n"
    "   本协议自您安装本软件之日起生效，至您销毁本软件及其全部副本之日终止。\r\n";

}  // namespace qz
