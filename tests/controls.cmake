kq_add_test(kxbutton controls)
kq_add_test(kxtoolbar controls)
kq_add_test(iconstrips controls)
