<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nb_NO" sourcelanguage="en_US">
<context>
    <name>global</name>
    <message>
        <source>Delete</source>
        <extracomment>0 tray_delete; 113 btn_shareitem_delete; 326 history_delete; 858 del</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unlink</source>
        <extracomment>1 action_unlink; 221 btn_unlink; 275 session_unlink_btn</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <extracomment>2 add; 280 session_add_btn</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Another</source>
        <extracomment>3 btn_choseother</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Merge</source>
        <extracomment>4 btn_merge</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An unknown error occurred.</source>
        <extracomment>5 err_common</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A conflict occurred.</source>
        <extracomment>6 err_conflict</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid parameter.</source>
        <extracomment>7 err_inval</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A network error occurred.</source>
        <extracomment>8 err_network</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish</source>
        <extracomment>9 finish</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local Storage</source>
        <extracomment>10 title_chart_local</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reconnect</source>
        <extracomment>11 tray_relink</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <extracomment>12 tray_about; 455 msg_about</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking the password...</source>
        <extracomment>13 msg_checkpass</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected successfully.</source>
        <extracomment>14 msg_connectsucc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder is not empty. Do you want to merge its contents?</source>
        <extracomment>15 msg_mergefolder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting up...</source>
        <extracomment>16 msg_startup</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Summary</source>
        <extracomment>17 msg_summary; 432 wizard_summary_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Testing the connection...</source>
        <extracomment>18 msg_test_connect</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The user name or password is incorrect.</source>
        <extracomment>19 msg_test_username_fail; 466 err_auth</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change Folder</source>
        <extracomment>20 title_changefolder; 54 manage_share_change_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder Not Empty</source>
        <extracomment>21 title_folder_nonempty</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder Path</source>
        <extracomment>22 title_folderpath</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID</source>
        <extracomment>23 title_id; 164 col_id</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <extracomment>24 title_name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <extracomment>25 title_value</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome</source>
        <extracomment>26 title_welcome; 403 wizard_welcome_title; 634 tutorial_ver2_p1_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <extracomment>27 tray_exit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recently Updated Files</source>
        <extracomment>28 tray_updatedfile</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <extracomment>29 tray_download; 327 history_download; 609 op_download; 824 download</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <extracomment>30 btn_help</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <extracomment>31 btn_ok; 220 msi_button_ok</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>32 btn_cancel; 80 management_proxy_cancel_btn; 213 msi_button_cancel</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <extracomment>33 btn_next</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <extracomment>34 btn_back</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <extracomment>35 version</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Detecting file changes...</source>
        <extracomment>36 msg_catchevent</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnected</source>
        <extracomment>37 err_disconn</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload</source>
        <extracomment>38 tray_upload; 330 history_upload; 861 upload</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Started</source>
        <extracomment>39 welcome_go</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <extracomment>40 time_time; 138 col_time; 338 history_time</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LAN</source>
        <extracomment>41 conn_mode_lan</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Direct Connection</source>
        <extracomment>42 conn_mode_direct</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Authentication failed</source>
        <extracomment>43 err_auth_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading...</source>
        <extracomment>44 conn_mode_reading</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Farlink</source>
        <extracomment>45 conn_mode_ez</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internet</source>
        <extracomment>46 conn_mode_wan</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The system cannot connect automatically.</source>
        <extracomment>47 err_autoconn_sys</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files Updated</source>
        <extracomment>48 files_update</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder is read-only.</source>
        <extracomment>49 msg_folder_readonly</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your storage quota is full.</source>
        <extracomment>50 msg_quotafull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection Mode</source>
        <extracomment>51 title_conn_mode</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read-Only Folder</source>
        <extracomment>52 title_folder_readonly</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <extracomment>53 tray_setinfo; 502 accessible_title_settings; 516 btn_settings; 974 settings; 1015 main_settings</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared Folders</source>
        <extracomment>55 manage_share_title; 78 manage_share_tab_name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port:</source>
        <extracomment>56 manage_proxy_server_port</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <extracomment>57 msg_info; 484 accessible_info_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy</source>
        <extracomment>58 manage_proxy_tab_name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No proxy</source>
        <extracomment>59 manage_proxy_chk_no_proxy</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use system proxy settings</source>
        <extracomment>60 manage_proxy_chk_sys_proxy</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password:</source>
        <extracomment>61 manage_proxy_label_password</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a folder</source>
        <extracomment>62 msg_seldir</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic connection is disabled by the administrator.</source>
        <extracomment>63 err_autoconn_ctrl</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your changes have not been saved. Save them now?</source>
        <extracomment>64 manage_setting_not_save</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk full</source>
        <extracomment>65 err_full_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy Settings</source>
        <extracomment>66 manage_proxy_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to enable sharing.</source>
        <extracomment>67 err_share_fail_enable</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The shared folder conflicts with an existing folder.</source>
        <extracomment>68 err_share_folder_conflict</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The maximum number of shared folders has been reached.</source>
        <extracomment>69 err_share_limit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applying settings...</source>
        <extracomment>70 manage_setting_applying</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a valid port number (1-65535).</source>
        <extracomment>71 err_invalid_port_number</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter the proxy server address and port.</source>
        <extracomment>72 err_proxy_ipport_empty</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual proxy configuration</source>
        <extracomment>73 manage_proxy_chk_manual</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No settings were changed.</source>
        <extracomment>74 manage_setting_no_change</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <extracomment>75 manage_share_enable</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared Folder</source>
        <extracomment>76 manage_share_name; 417 shared_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <extracomment>77 manage_share_status; 159 col_file_status; 370 title_status_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <extracomment>79 management_proxy_apply_btn; 835 btn_apply</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network</source>
        <extracomment>81 network_management_page_btn</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Management</source>
        <extracomment>82 tray_management_page</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Proxy server requires authentication</source>
        <extracomment>83 manage_proxy_chk_account</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Updating...</source>
        <extracomment>84 tray_updating</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable SSL encryption</source>
        <extracomment>85 manage_option_enable_ssl</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection problem</source>
        <extracomment>86 notify_abnormal_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection Details</source>
        <extracomment>87 title_ip_detail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable desktop notifications</source>
        <extracomment>88 manage_option_enable_desktop_notify</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show sync status icons on files</source>
        <extracomment>89 manage_option_enable_icon_overlay</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <extracomment>90 manage_option_tab_name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <extracomment>91 manage_option_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use a black-and-white tray icon</source>
        <extracomment>92 manage_option_use_black_white_icon</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 shared a folder with you.</source>
        <extracomment>93 notify_new_share</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New shared folder</source>
        <extracomment>94 notify_new_share_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking data...</source>
        <extracomment>95 tray_data_checking</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic setup failed. Please set up the connection manually.</source>
        <extracomment>96 auto_setup_failed_msg</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finishing setup...</source>
        <extracomment>97 auto_setup_finishing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue</source>
        <extracomment>98 btn_continue</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selective Sync</source>
        <extracomment>99 selective_sync; 1024 session_selective_sync_btn</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files matching the following rules will not be synced.</source>
        <extracomment>100 black_list_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrading...</source>
        <extracomment>101 msg_upgrading</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File extension:</source>
        <extracomment>102 file_ext_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder not mounted</source>
        <extracomment>103 err_share_mountpt_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade</source>
        <extracomment>104 title_upgrade</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Progress</source>
        <extracomment>105 msg_progress; 695 main_queue_column_progress</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to delete this shared item?</source>
        <extracomment>106 msg_shareitem_delete</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to delete the shared item.</source>
        <extracomment>107 err_shareitem_delete</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection has been configured.</source>
        <extracomment>108 auto_setup_key_configurated</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new language will take effect after the application restarts.</source>
        <extracomment>109 msg_language_restart</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder</source>
        <extracomment>110 type_folder; 314 history_folder; 1025 setting_tab_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The local disk is full.</source>
        <extracomment>111 msg_localdiskfull; 141 status_desc_localdisk_full</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading folders...</source>
        <extracomment>112 selective_sync_loading</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to unlink this connection?</source>
        <extracomment>114 msg_confirm_unlink; 958 connection_unlink_confirm</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination</source>
        <extracomment>115 col_file_destination</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preparing...</source>
        <extracomment>116 label_preparing; 318 progress_preparing; 683 main_queue_preparing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading...</source>
        <extracomment>117 label_uploading</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <extracomment>118 language_default</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language:</source>
        <extracomment>119 manage_option_language</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder name</source>
        <extracomment>120 folder_name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading...</source>
        <extracomment>121 label_downloading</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Syncing %1 files</source>
        <extracomment>122 tray_syncing_file_cnt</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading %1...</source>
        <extracomment>123 msg_download_downloading</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder Selective Sync</source>
        <extracomment>124 folder_selective_sync</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced Settings</source>
        <extracomment>125 advanced_settings</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum file size:</source>
        <extracomment>126 file_max_size_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File name:</source>
        <extracomment>127 block_file_name_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blocked Files</source>
        <extracomment>128 block_file_table_title; 160 black_list_btn</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A database error occurred.</source>
        <extracomment>129 err_database</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Selective Sync</source>
        <extracomment>130 file_selective_sync</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blocked file names:</source>
        <extracomment>131 file_black_list_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unselected folders will be removed from this computer.</source>
        <extracomment>132 selective_sync_remove_msg</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Merge mode</source>
        <extracomment>133 manage_option_merge_mode</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading...</source>
        <extracomment>134 loading; 972 msg_loading</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync mode</source>
        <extracomment>135 manage_option_sync_mode</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paused</source>
        <extracomment>136 tray_status_paused; 734 main_status_pause</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selected folder is a mount point and cannot be synced.</source>
        <extracomment>137 msg_folder_mount_point</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The download was aborted.</source>
        <extracomment>139 msg_download_aborted</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Now</source>
        <extracomment>140 btn_start_now</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The storage quota on the server is full.</source>
        <extracomment>142 status_desc_quotafull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connecting...</source>
        <extracomment>143 tray_status_linking; 152 msg_linking; 696 main_status_connecting; 851 status_desc_linking</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manage</source>
        <extracomment>144 btn_manage</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No permission</source>
        <extracomment>145 err_share_perm_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You do not have permission to access this folder.</source>
        <extracomment>146 status_desc_perm_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User information is not available.</source>
        <extracomment>147 err_user_info_unavailable</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred.</source>
        <extracomment>148 status_desc_abnormal_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Computer Name</source>
        <extracomment>149 col_computer_name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection unstable</source>
        <extracomment>150 tray_unstable</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share Link</source>
        <extracomment>151 context_menu_share_link; 839 share_link</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trying to sync...</source>
        <extracomment>153 try_syncing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Viewer</source>
        <extracomment>154 viewer</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security Warning</source>
        <extracomment>155 title_ssl_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause Connection</source>
        <extracomment>156 pause_connection</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume Connection</source>
        <extracomment>157 resume_connection</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unlink Connection</source>
        <extracomment>158 unlink_connection</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Action</source>
        <extracomment>161 col_file_action; 346 history_action</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Name</source>
        <extracomment>162 col_file_name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>163 col_file_size; 175 size_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disabled</source>
        <extracomment>165 msg_disabled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <extracomment>166 msg_enabled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharing will be turned off and the link removed.</source>
        <extracomment>167 share_enable_remove_msg</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable SSL</source>
        <extracomment>168 title_ssl_enable</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the folder to sync.</source>
        <extracomment>169 msg_seldir_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> shared with you</source>
        <extracomment>170 msg_share_bubble_suffix</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharing</source>
        <extracomment>171 title_bubble_sharing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download completed.</source>
        <extracomment>172 msg_download_done</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download failed.</source>
        <extracomment>173 msg_download_fail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brennox Overview</source>
        <extracomment>174 brennox_overview</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Brennox server has changed.</source>
        <extracomment>176 status_desc_brennox_changed; 293 tray_brennox_change</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync is paused.</source>
        <extracomment>177 status_desc_pause</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The SSL certificate could not be verified.</source>
        <extracomment>178 status_desc_ssl_verify_fail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Syncing...</source>
        <extracomment>179 status_desc_syncing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The client version is not supported. Please update the client.</source>
        <extracomment>180 status_desc_errversion_client</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conflicting files will be backed up.</source>
        <extracomment>181 wizard_conflict_backup_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This connection is inactive.</source>
        <extracomment>182 desc_inactive</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inactive</source>
        <extracomment>183 title_inactive</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be downloaded.</source>
        <extracomment>184 desc_cannot_download</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file versions cannot be listed.</source>
        <extracomment>185 desc_cannot_list_version</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A link cannot be created for this file.</source>
        <extracomment>186 desc_cannot_share_link</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSL certificate verification failed.</source>
        <extracomment>187 err_ssl_verify_fail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standby</source>
        <extracomment>188 title_standby</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open folder on double-click</source>
        <extracomment>189 title_icon_double_clicked</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indexing the folder...</source>
        <extracomment>190 tooltip_folder_indexing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome to the [ProductName] Setup Wizard</source>
        <extracomment>191 msi_welcome_dlg_title; 218 msi_maintenance_welcome_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initialization failed.</source>
        <extracomment>192 err_init_failed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <extracomment>193 msi_button_back</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready to install [ProductName]</source>
        <extracomment>194 msi_ready_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some files that need to be updated are currently in use.</source>
        <extracomment>195 msi_filesinuse_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <extracomment>196 msi_button_exit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <extracomment>197 msi_button_print</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Do not close applications</source>
        <extracomment>198 msi_filesinuse_dlg_closenone</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Repairs errors in the most recent installation by fixing missing and corrupt files.</source>
        <extracomment>199 msi_maintenance_dlg_repair_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Launch [ProductName]</source>
        <extracomment>200 msi_exit_dlg_launch</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click the Finish button to exit the Setup Wizard.</source>
        <extracomment>201 msi_exit_dlg_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ProductName] has been installed successfully.</source>
        <extracomment>202 msi_exit_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ProductName] Setup</source>
        <extracomment>203 msi_error_dlg_title; 238 msi_cancel_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change, repair, or remove installation</source>
        <extracomment>204 msi_maintenance_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Completed the [ProductName] Setup Wizard</source>
        <extracomment>205 msi_exit_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sync folder is not mounted.</source>
        <extracomment>206 err_syncfolder_not_mounted</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Repair the installation</source>
        <extracomment>207 msi_maintenance_dlg_repair_tooltip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <extracomment>208 msi_button_remove</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse Previous Versions</source>
        <extracomment>209 context_menu_version_browse</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the operation you wish to perform.</source>
        <extracomment>210 msi_maintenance_dlg_subtitle; 250 msi_maintenance_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download Only</source>
        <extracomment>211 download_only</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Setup Wizard ended prematurely because of an error.</source>
        <extracomment>212 msi_fatalerror_dlg_description1</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ignore</source>
        <extracomment>214 msi_button_ignore</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <extracomment>215 msi_button_finish</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;No</source>
        <extracomment>216 msi_button_no</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details</source>
        <extracomment>217 msg_info_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status:</source>
        <extracomment>219 msi_progress_dlg_status_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Install</source>
        <extracomment>222 msi_button_install</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Setup Wizard allows you to change, repair, or remove [ProductName]. Click Next to continue.</source>
        <extracomment>223 msi_maintenance_welcome_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove the installation</source>
        <extracomment>224 msi_maintenance_dlg_remove_tooltip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read-only</source>
        <extracomment>225 read_only</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please read the following license agreement carefully.</source>
        <extracomment>226 msi_eula_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Next &gt;</source>
        <extracomment>227 msi_button_next</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The following applications are using files that need to be updated:</source>
        <extracomment>228 msi_filesinuse_dlg_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End-User License Agreement</source>
        <extracomment>229 msi_eula_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync Status</source>
        <extracomment>230 title_chart_tray</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Repair</source>
        <extracomment>231 msi_maintenance_dlg_repair_label; 234 msi_button_repair</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please wait while the Setup Wizard works.</source>
        <extracomment>232 msi_progress_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The local sync folder cannot be found.</source>
        <extracomment>233 err_local_sync_folder_miss</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Retry</source>
        <extracomment>235 msi_button_retry</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <extracomment>236 msi_button_yes</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to cancel the [ProductName] installation?</source>
        <extracomment>237 msi_cancel_dlg_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I &amp;accept the terms in the License Agreement</source>
        <extracomment>239 msi_eula_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your system has not been modified. Run the installation again later.</source>
        <extracomment>240 msi_fatalerror_dlg_description2; 267 msi_userexit_dlg_description2</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ProductName] Setup Ended Prematurely</source>
        <extracomment>241 msi_fatalerror_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close all applications</source>
        <extracomment>242 msi_filesinuse_dlg_closeall</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some files that need to be updated are in use.</source>
        <extracomment>243 msi_filesinuse_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close these applications and click Retry, or click Ignore to continue.</source>
        <extracomment>244 msi_filesinuse_dlg_text2</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files in Use</source>
        <extracomment>245 msi_filesinuse_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Change</source>
        <extracomment>246 msi_maintenance_dlg_change_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lets you change the way the features are installed.</source>
        <extracomment>247 msi_maintenance_dlg_change_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ProductName] has no features that can be changed.</source>
        <extracomment>248 msi_maintenance_dlg_change_text_disabled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change the installation</source>
        <extracomment>249 msi_maintenance_dlg_change_tooltip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R&amp;emove</source>
        <extracomment>251 msi_maintenance_dlg_remove_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Removes [ProductName] from your computer.</source>
        <extracomment>252 msi_maintenance_dlg_remove_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please wait while the Setup Wizard installs [ProductName].</source>
        <extracomment>253 msi_progress_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installing [ProductName]</source>
        <extracomment>254 msi_progress_dlg_text; 255 msi_progress_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click Install to begin the installation.</source>
        <extracomment>256 msi_ready_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click Install to begin the installation. Click Back to review or change your settings.</source>
        <extracomment>257 msi_ready_dlg_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click Remove to remove [ProductName] from your computer.</source>
        <extracomment>258 msi_readyremove_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready to remove</source>
        <extracomment>259 msi_readyremove_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click Back to review or change any settings, or Cancel to exit the wizard.</source>
        <extracomment>260 msi_readyremove_dlg_text; 264 msi_readyrepair_dlg_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove [ProductName]</source>
        <extracomment>261 msi_readyremove_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click Repair to repair the installation of [ProductName].</source>
        <extracomment>262 msi_readyrepair_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready to repair</source>
        <extracomment>263 msi_readyrepair_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Repair [ProductName]</source>
        <extracomment>265 msi_readyrepair_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The [ProductName] Setup Wizard was interrupted.</source>
        <extracomment>266 msi_userexit_dlg_description1</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ProductName] Setup Was Interrupted</source>
        <extracomment>268 msi_userexit_dlg_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Setup Wizard will install [ProductName] on your computer. Click Next to continue or Cancel to exit.</source>
        <extracomment>269 msi_welcome_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <extracomment>270 remove_btn</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From</source>
        <extracomment>271 history_from; 529 filter_from</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change, repair, or remove [ProductName].</source>
        <extracomment>272 msi_maintenance_welcome_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup is complete.</source>
        <extracomment>273 msi_exit_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup was cancelled.</source>
        <extracomment>274 msi_userexit_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download History</source>
        <extracomment>276 main_download_history</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to a New Server</source>
        <extracomment>277 link_new_nas</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup failed.</source>
        <extracomment>278 msi_fatalerror_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared</source>
        <extracomment>279 share_enabled; 645 notification_page_shared</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install [ProductName] on your computer.</source>
        <extracomment>281 msi_welcome_dlg_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <extracomment>282 session_pause_btn; 687 btn_pause; 1005 tray_pause</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I accept</source>
        <extracomment>283 msi_eula_dlg_accept</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume</source>
        <extracomment>284 session_resume_btn; 691 btn_resume; 1006 tray_resume</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <extracomment>285 filter_reset; 331 history_reset</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Folders to Sync</source>
        <extracomment>286 selective_sync_folder_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your files, on every device.</source>
        <extracomment>287 msg_sub_slogan</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharing is disabled for your account.</source>
        <extracomment>288 err_user_sharing_disabled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to unlink this sync task?</source>
        <extracomment>289 session_unlink_confirm_msg</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Containing Folder</source>
        <extracomment>290 open_contain_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to get the file link.</source>
        <extracomment>291 err_get_file_url</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the local folder to sync with the server.</source>
        <extracomment>292 setup_local_folder_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The shared folder is not mounted.</source>
        <extracomment>294 err_share_not_mounted</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Today</source>
        <extracomment>295 today</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The remote folder is not mounted.</source>
        <extracomment>296 err_remote_not_mounted; 483 wizard_remote_not_mounted</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Location:</source>
        <extracomment>297 folder_location_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync to this computer</source>
        <extracomment>298 sync_to_pc_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installing without administrator privileges may fail. Continue anyway?</source>
        <extracomment>299 NSIS_NOT_ADMIN_CONFIRM</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync and share your files anywhere.</source>
        <extracomment>300 msg_slogan</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File sharing is not available over Farlink.</source>
        <extracomment>301 err_farlink_file_sharing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yesterday</source>
        <extracomment>302 history_yesterday; 558 filter_yesterday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose how you want to set up this computer.</source>
        <extracomment>303 wizard_setup_mode_page_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick Setup</source>
        <extracomment>304 wizard_setup_quick_mode_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items</source>
        <extracomment>305 history_items</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <extracomment>306 yes</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Got It</source>
        <extracomment>307 got_it</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You do not have permission, or the item has been deleted.</source>
        <extracomment>308 desc_no_per_or_deleted</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files you change on one device are updated on all the others.</source>
        <extracomment>309 tutorial_second_desc_2</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date range</source>
        <extracomment>310 history_date_range; 905 filter_date_range</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Syncing This Folder</source>
        <extracomment>311 context_menu_filter_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hours ago</source>
        <extracomment>312 time_hour_ago</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a new folder to sync.</source>
        <extracomment>313 wizard_new_sync_folder_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>May</source>
        <extracomment>315 month_may</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder Already Synced</source>
        <extracomment>316 wizard_setup_repeat_warning_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <extracomment>317 history_rename; 612 tray_rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 days ago</source>
        <extracomment>319 time_day_ago</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Just now</source>
        <extracomment>320 time_just_now</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 minutes ago</source>
        <extracomment>321 time_minute_ago</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File</source>
        <extracomment>322 history_file; 474 type_file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last month</source>
        <extracomment>323 history_last_month; 967 filter_last_month</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keyword</source>
        <extracomment>324 history_keyword; 533 filter_keyword</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To</source>
        <extracomment>325 history_to; 482 filter_to</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <extracomment>328 history_type; 523 col_file_type</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last week</source>
        <extracomment>329 history_last_week; 968 filter_last_week</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>April</source>
        <extracomment>332 month_apr</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>February</source>
        <extracomment>333 month_feb</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>August</source>
        <extracomment>334 month_aug</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <extracomment>335 history_search; 557 filter_search; 1053 filter_placeholder_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>October</source>
        <extracomment>336 month_oct</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume Syncing This Folder</source>
        <extracomment>337 context_menu_resume_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Syncing These Folders</source>
        <extracomment>339 context_menu_filter_folders</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No history</source>
        <extracomment>340 history_no_data</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume Syncing These Folders</source>
        <extracomment>341 context_menu_resume_folders</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send to</source>
        <extracomment>342 context_menu_sendto_prefix</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>January</source>
        <extracomment>343 month_jan</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>November</source>
        <extracomment>344 month_nov</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Currently syncing</source>
        <extracomment>345 tray_current_syncing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>September</source>
        <extracomment>347 month_sep</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All events</source>
        <extracomment>348 history_all_event</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom</source>
        <extracomment>349 history_customize; 527 filter_customize</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>July</source>
        <extracomment>350 month_jul</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <extracomment>351 history_date</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>June</source>
        <extracomment>352 month_jun</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File name</source>
        <extracomment>353 history_file_name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>March</source>
        <extracomment>354 month_mar</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>December</source>
        <extracomment>355 month_dec</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File type</source>
        <extracomment>356 history_file_type</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced Setup</source>
        <extracomment>357 advan_setup_wizard; 381 wizard_setup_advan_mode_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not show this message again</source>
        <extracomment>358 dont_show_msg</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync your home folder with the default settings.</source>
        <extracomment>359 wizard_setup_quick_mode_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your files are now being synced.</source>
        <extracomment>360 quick_mode_finish_page_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup Complete</source>
        <extracomment>361 quick_mode_finish_page_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep your files up to date on all your devices.</source>
        <extracomment>362 tutorial_second_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share files and folders with a link.</source>
        <extracomment>363 tutorial_third_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup Mode</source>
        <extracomment>364 wizard_setup_mode_page_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No, thanks</source>
        <extracomment>365 no_need</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync Everywhere</source>
        <extracomment>366 tutorial_second_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share Easily</source>
        <extracomment>367 tutorial_third_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search for servers on the local network</source>
        <extracomment>368 local_brennox_search</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Farlink</source>
        <extracomment>369 use_farlink</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>371 title_pwd; 692 connection_password; 853 password_field_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User name</source>
        <extracomment>372 title_usr; 693 connection_username</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User</source>
        <extracomment>373 accessible_user</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File updated</source>
        <extracomment>374 single_file_update</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no connection for this file.</source>
        <extracomment>375 err_no_connection_for_file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Korvane</source>
        <extracomment>376 open_main_app</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync a folder on a new server</source>
        <extracomment>377 wizard_sync_folder_new_nas</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrade Available</source>
        <extracomment>378 tray_upgrade</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a new sync task</source>
        <extracomment>379 wizard_sync_folder_new_session</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Sync Folder</source>
        <extracomment>380 wizard_new_sync_folder_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the folders and sync options yourself.</source>
        <extracomment>382 wizard_setup_advan_mode_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <extracomment>383 btn_done</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files larger than %1 MB will not be synced.</source>
        <extracomment>384 file_max_size_limit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Folder</source>
        <extracomment>385 open_folder; 521 tray_opendir</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selected sync folder is invalid.</source>
        <extracomment>386 wizard_invalid_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Brennox servers on your local network</source>
        <extracomment>387 wizard_find_local_brennox_tooltip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selected sync folder is read-only.</source>
        <extracomment>388 wizard_readonly_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More Tips</source>
        <extracomment>389 more_tutorial</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selected folder conflicts with an existing sync folder.</source>
        <extracomment>390 wizard_conflict_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open File</source>
        <extracomment>391 open_file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This folder is already being synced.</source>
        <extracomment>392 wizard_setup_repeat_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a Tarnwick folder</source>
        <extracomment>393 wizard_create_tarnwick_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please choose a different folder.</source>
        <extracomment>394 wizard_setup_repeat_warning2</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are offline.</source>
        <extracomment>395 msg_err_offline</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home Folder</source>
        <extracomment>396 home_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server does not support sharing links.</source>
        <extracomment>397 err_hubos_share_link</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server's SSL certificate has changed.</source>
        <extracomment>398 err_ssl_change</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Sync Folder</source>
        <extracomment>399 wizard_set_sync_folder; 413 wizard_set_sync_folder_title; 784 setup_set_sync_folder_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sync direction does not match the server settings.</source>
        <extracomment>400 sync_direction_mismatch; 966 err_sync_direction_mismatch</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your IP address is not allowed to connect.</source>
        <extracomment>401 err_ip_not_allowed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When a file is changed on both sides:</source>
        <extracomment>402 conflict_policy_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Page</source>
        <extracomment>404 last_page</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First Page</source>
        <extracomment>405 first_page</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous %1 Pages</source>
        <extracomment>406 prev_x_pages</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next %1 Pages</source>
        <extracomment>407 next_x_pages</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unlinking...</source>
        <extracomment>408 msg_unlinking; 959 connection_unlinking</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many failed attempts. Please try again later.</source>
        <extracomment>409 err_max_tries</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file is locked.</source>
        <extracomment>410 label_locked_file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sync folder cannot be reached because of a network error.</source>
        <extracomment>411 wizard_network_err_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The shared folder does not exist.</source>
        <extracomment>412 wizard_share_nonexist_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the most recently modified file</source>
        <extracomment>414 conflict_policy_compare_mtime</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Two-way sync</source>
        <extracomment>415 two_way_sync</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the folder to sync on the server and on this computer.</source>
        <extracomment>416 wizard_set_sync_folder_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 requested access to the document %2.</source>
        <extracomment>418 notification_page_action_request_access_office_template</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This folder is already used by another sync task.</source>
        <extracomment>419 folder_in_use_local_sync</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 requested access to %2.</source>
        <extracomment>420 notification_request_access_office_template; 641 notification_page_action_request_access</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server's certificate has changed. Please verify the connection before syncing.</source>
        <extracomment>421 wizard_ssl_change_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A verification code is required.</source>
        <extracomment>422 err_otp_required</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The verification code is invalid.</source>
        <extracomment>423 err_otp_invalid</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the verification code:</source>
        <extracomment>424 connection_enter_otp</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hour</source>
        <extracomment>425 timescale_hour</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The storage quota of the sync folder is full.</source>
        <extracomment>426 wizard_quotafull_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server's certificate could not be verified.</source>
        <extracomment>427 wizard_ssl_verify_fail_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A system error occurred while checking the sync folder.</source>
        <extracomment>428 wizard_system_err_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync</source>
        <extracomment>429 manage_sync_tab_name; 644 notification_page_sync; 697 wizard_task_select_sync_title; 928 tutorial_first_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overwrite the local file with the server's copy</source>
        <extracomment>430 conflict_policy_overwrite_client</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename the conflicting file</source>
        <extracomment>431 conflict_policy_rename_conflict</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request Access</source>
        <extracomment>433 tray_request_access_office_template</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The contents of both folders will be merged.</source>
        <extracomment>434 info_mergefolder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Account</source>
        <extracomment>435 wizard_summary_table_account</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection list</source>
        <extracomment>436 accessible_conn_list</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected server</source>
        <extracomment>437 accessible_connected_server</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy sharing link</source>
        <extracomment>438 accessible_copy_share_link</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete permission</source>
        <extracomment>439 accessible_delete_permission_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Group</source>
        <extracomment>440 accessible_group</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open web portal</source>
        <extracomment>441 accessible_open_web_portal</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local computer</source>
        <extracomment>442 accessible_pairing_local_machine</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote server</source>
        <extracomment>443 accessible_pairing_remote_nas</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files shared with me</source>
        <extracomment>444 accessible_shared_with_me_session_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recently changed</source>
        <extracomment>445 accessible_tray_recently_change_tab</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tutorial page 2</source>
        <extracomment>446 accessible_tutorial_2</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tutorial page 3</source>
        <extracomment>447 accessible_tutorial_3</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tutorial page 4</source>
        <extracomment>448 accessible_tutorial_4</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharing permission</source>
        <extracomment>449 accessible_share_permission</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign in to your Tarnwick server to start syncing.</source>
        <extracomment>450 wizard_welcome_mask_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hours</source>
        <extracomment>451 schedulebkp_run_freq_unit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server</source>
        <extracomment>452 wizard_summary_table_server; 883 connection_server</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Sync Folder</source>
        <extracomment>453 quick_mode_open_folder_btn</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder not found</source>
        <extracomment>454 err_share_nonexist_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Two-factor authentication is required for your account.</source>
        <extracomment>456 err_otp_enforced</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The quota of the shared folder is full.</source>
        <extracomment>457 msg_share_quotafull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some fields are invalid.</source>
        <extracomment>458 common_forminvalid</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync Direction</source>
        <extracomment>459 selective_sync_direction_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred. Check the connection status for details.</source>
        <extracomment>460 notify_abnormal</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a shared folder on the Tarnwick server.</source>
        <extracomment>461 advan_mode_set_share_folder_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Access to the sync folder was denied.</source>
        <extracomment>462 wizard_access_deny_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address:</source>
        <extracomment>463 manage_proxy_server_ip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expires after</source>
        <extracomment>464 sharing_exp_after</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No options available</source>
        <extracomment>465 context_menu_no_option_available</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wildcards such as *.tmp are allowed.</source>
        <extracomment>467 block_file_name_tool_tip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One-way download</source>
        <extracomment>468 one_way_download</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A folder with this name already exists.</source>
        <extracomment>469 wizard_share_name_duplicate_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync all files and subfolders</source>
        <extracomment>470 selective_enable_entire_attribute_check</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expires on</source>
        <extracomment>471 sharing_enable_expire_at</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This field is required.</source>
        <extracomment>472 common_fieldblank</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restrict access</source>
        <extracomment>473 sharing_restrict</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show items in the context menu</source>
        <extracomment>475 manage_option_enable_context_menu</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The home folder service is disabled on the server.</source>
        <extracomment>476 err_user_home_disabled; 800 bkp_desc_err_user_home_disabled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to upgrade the client.</source>
        <extracomment>477 wizard_client_upgrade_failed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply and Copy Link</source>
        <extracomment>478 sharing_apply_and_copy_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Limit number of accesses</source>
        <extracomment>479 sharing_enable_expire_times</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available from</source>
        <extracomment>480 sharing_enable_start_at</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upgrading the client...</source>
        <extracomment>481 wizard_client_upgrade</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add file name</source>
        <extracomment>485 accessible_add_filename_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local destination</source>
        <extracomment>486 accessible_title_local_destination</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <extracomment>487 accessible_language_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download this version</source>
        <extracomment>488 accessible_version_download_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom duration</source>
        <extracomment>489 sharing_customize_duration</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the Korvane tutorial at startup</source>
        <extracomment>490 general_setting_show_tutorial_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change sync folder</source>
        <extracomment>491 accessible_change_sync_folder_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paired sync folder</source>
        <extracomment>492 accessible_pairing_sync_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh sync log</source>
        <extracomment>493 accessible_sync_log_refresh_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous month</source>
        <extracomment>494 accessible_calendar_prev_month</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter sync log</source>
        <extracomment>495 accessible_sync_log_filter_lineedit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add folder</source>
        <extracomment>496 accessible_add_folder_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calendar</source>
        <extracomment>497 accessible_calendar</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next month</source>
        <extracomment>498 accessible_calendar_next_month</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync log category</source>
        <extracomment>499 accessible_sync_log_category_combobox</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync task</source>
        <extracomment>500 accessible_sync_task_session_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote destination</source>
        <extracomment>501 accessible_title_remote_destination</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close tutorial</source>
        <extracomment>503 accessible_tutorial_close_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel download</source>
        <extracomment>504 accessible_version_download_abort_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete download</source>
        <extracomment>505 accessible_version_download_delete_button</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your password has expired.</source>
        <extracomment>506 err_pwd_expired</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Editor</source>
        <extracomment>507 editor</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renamed locally</source>
        <extracomment>508 history_local_rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renamed on server</source>
        <extracomment>509 history_remote_rename</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The text exceeds the maximum length of %1 characters.</source>
        <extracomment>510 common_maxlengthtext</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This account differs from the one previously used.</source>
        <extracomment>511 wizard_user_different_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server Information</source>
        <extracomment>512 server_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The relay service is disabled.</source>
        <extracomment>513 err_tunnel_disabled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The download failed. Please check your connection and try again.</source>
        <extracomment>514 msg_download_fail_long</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Authentication failed. Check your user name and password.</source>
        <extracomment>515 wizard_auth_error_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notifications</source>
        <extracomment>517 notification_page; 548 accessible_tray_notification_tab; 650 notification_tab</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 commented on %2.</source>
        <extracomment>518 notification_page_action_comment</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open in Web Portal</source>
        <extracomment>519 notification_page_open_in_portal</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Up</source>
        <extracomment>520 btn_setup</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have read-only access to this folder in Korvane.</source>
        <extracomment>522 read_only_tooltip_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane is now syncing your folder.</source>
        <extracomment>524 wizard_finish_pairing_desc_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Setup Wizard is ready to begin the installation.</source>
        <extracomment>525 msi_ready_dlg_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is ready.</source>
        <extracomment>526 desc_tarnwick_env_preparation_done_korvane; 567 desc_tarnwick_env_preparation_done</extracomment>
        <translation>%1 er klar.</translation>
    </message>
    <message>
        <source>Korvane is running.</source>
        <extracomment>528 msg_running_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign in to your server to start syncing with Korvane.</source>
        <extracomment>530 wizard_welcome_mask_desc_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commenter</source>
        <extracomment>531 preview_commenter; 712 commenter</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane could not be upgraded.</source>
        <extracomment>532 upgrade_failed_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A newer version of Korvane is already installed.</source>
        <extracomment>534 NSIS_KORVANE_INSTALLED_NEWER</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a sync task</source>
        <extracomment>535 accessible_create_sync_task_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane keeps both versions when a file is changed in two places.</source>
        <extracomment>536 conflict_dropbox_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unsaved changes will be lost. Continue?</source>
        <extracomment>537 confirm_lostchange</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane tutorial</source>
        <extracomment>538 accessible_tutorial_description_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Korvane connection ID is invalid.</source>
        <extracomment>539 err_autoconn_invalidid_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a shared folder to sync with Korvane.</source>
        <extracomment>540 advan_mode_set_share_folder_info_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Korvane when I sign in</source>
        <extracomment>541 manage_option_enable_startup_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is initializing...</source>
        <extracomment>542 desc_tarnwick_env_preparing_korvane; 568 desc_tarnwick_env_preparing</extracomment>
        <translation>%1 initialiseres...</translation>
    </message>
    <message>
        <source>The server's protocol is not supported by Korvane.</source>
        <extracomment>543 err_proto_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version of Korvane is not supported by the server. Please upgrade Korvane.</source>
        <extracomment>544 err_version_client_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane version not supported</source>
        <extracomment>545 err_version_short_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk is full. Korvane cannot sync more files.</source>
        <extracomment>546 msg_diskfull_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane encountered an error.</source>
        <extracomment>547 msg_error_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Korvane folder is not empty.</source>
        <extracomment>549 msg_folder_not_empty_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download changes from the server only</source>
        <extracomment>550 one_way_sync_download_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane is set up and syncing your files.</source>
        <extracomment>551 quick_mode_end_msg_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tutorial page 1</source>
        <extracomment>552 accessible_tutorial_1</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version of Korvane is already installed.</source>
        <extracomment>553 NSIS_KORVANE_INSTALLED_CURRENT</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane keeps your files in sync between your computer and your server.</source>
        <extracomment>554 wizard_welcome_desc_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Almost done! Your files are being synced to the server.</source>
        <extracomment>555 almost_done_korvane_server</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Almost done! Your files are being synced to this computer.</source>
        <extracomment>556 almost_done_local</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed</source>
        <extracomment>559 msg_fail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a Korvane folder</source>
        <extracomment>560 wizard_create_korvane_folder; 869 wizard_create_korvane_folder_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version of Tarnwick is already installed.</source>
        <extracomment>561 NSIS_TARNWICK_INSTALLED_CURRENT</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A newer version of Tarnwick is already installed.</source>
        <extracomment>562 NSIS_TARNWICK_INSTALLED_NEWER</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tutorial</source>
        <extracomment>563 accessible_tutorial_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwick</source>
        <extracomment>564 app_name</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Week</source>
        <extracomment>565 timescale_week</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep both versions when a file is changed in two places.</source>
        <extracomment>566 conflict_dropbox</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection ID is invalid.</source>
        <extracomment>569 err_autoconn_invalidid</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This client version is not supported by the server. Please upgrade the client.</source>
        <extracomment>570 err_version_client</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permissions</source>
        <extracomment>571 share_permission</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server version is not supported. Please upgrade the server.</source>
        <extracomment>572 err_version_server</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version not supported</source>
        <extracomment>573 err_version_short; 583 status_desc_version_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the tutorial at startup</source>
        <extracomment>574 general_setting_show_tutorial</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start automatically when I sign in</source>
        <extracomment>575 manage_option_enable_startup</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <extracomment>576 msg_error; 694 main_status_error</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finished</source>
        <extracomment>577 msg_finish</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup is finished.\nYou can change these settings at any time.</source>
        <extracomment>578 msg_finish_way</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder is not empty.</source>
        <extracomment>579 msg_folder_not_empty</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwick is running.</source>
        <extracomment>580 msg_running</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Setup is finished and your files are being synced.</source>
        <extracomment>581 quick_mode_end_msg</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have read-only access to this folder.</source>
        <extracomment>582 read_only_tooltip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Tarnwick</source>
        <extracomment>584 title_open_tarnwick</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click to update</source>
        <extracomment>585 tray_click_to_update</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please update the server package to use selective sync.</source>
        <extracomment>586 update_pkg_for_selective_sync</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <extracomment>587 op_clean</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date and Time</source>
        <extracomment>588 op_date_time</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is not enough space on the disk for the sync folder.</source>
        <extracomment>589 wizard_diskfull_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your folder is now being synced.</source>
        <extracomment>590 wizard_finish_pairing_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This folder is already paired with another sync task.</source>
        <extracomment>591 wizard_setup_repeat_warning_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep your files in sync between your computer and your server.</source>
        <extracomment>592 wizard_welcome_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By continuing, you agree to the terms of service.</source>
        <extracomment>593 wizard_welcome_footer_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can comment</source>
        <extracomment>594 perm_commenter</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Users of the app can view.</source>
        <extracomment>595 perm_app_ro_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Users of the app can view and edit.</source>
        <extracomment>596 perm_app_rw_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only invited people can access.</source>
        <extracomment>597 perm_limit_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anyone with the link can view and comment.</source>
        <extracomment>598 perm_public_commenter_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anyone with the link can view.</source>
        <extracomment>599 perm_public_ro_desc; 954 public_ro_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Users of the app can view and comment.</source>
        <extracomment>600 perm_app_commenter_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anyone with the link can view and edit.</source>
        <extracomment>601 perm_public_rw_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can view</source>
        <extracomment>602 perm_ro</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Organizer</source>
        <extracomment>603 perm_organizer</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Can edit</source>
        <extracomment>604 perm_rw</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The web portal cannot be opened.</source>
        <extracomment>605 desc_cannot_open_portal</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invite</source>
        <extracomment>606 share_invite</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No access</source>
        <extracomment>607 perm_na</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No shared items</source>
        <extracomment>608 empty_share</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Public sharing is disabled.</source>
        <extracomment>610 err_public_sharing_disabled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharing is disabled. Please contact your administrator.</source>
        <extracomment>611 err_sharing_disabled_contact_admin</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore</source>
        <extracomment>613 op_restore</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request Access to Spreadsheet</source>
        <extracomment>614 tray_request_ksheet</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anyone using this link will lose access.</source>
        <extracomment>615 remove_link_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share Spreadsheet</source>
        <extracomment>616 tray_share_ksheet</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No data</source>
        <extracomment>617 common_no_data</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share</source>
        <extracomment>618 common_share; 668 tutorial_ver2_p3_title; 878 share</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file or folder does not exist.</source>
        <extracomment>619 err_dir_file_not_exist</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You do not have permission.</source>
        <extracomment>620 err_permission</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weekends</source>
        <extracomment>621 schedulebkp_weekend</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Users of the app</source>
        <extracomment>622 perm_app</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My Korvane</source>
        <extracomment>623 my_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restricted</source>
        <extracomment>624 perm_limit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <extracomment>625 display_tab</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Public</source>
        <extracomment>626 perm_public</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change</source>
        <extracomment>627 btn_change</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set expiration date</source>
        <extracomment>628 enable_expiration</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Users and groups</source>
        <extracomment>629 share_user_group</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane</source>
        <extracomment>630 app_name_korvane; 855 sol_name_korvane; 862 pkg_name_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use a monochrome icon in the menu bar.</source>
        <extracomment>631 display_setting_bw_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the sync folder in the sidebar.</source>
        <extracomment>632 display_setting_local_folder_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your files are synced between this computer and your server.</source>
        <extracomment>633 tutorial_ver2_p1_desc; 918 tutorial_first_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This computer</source>
        <extracomment>635 tutorial_ver2_p1_pic_pc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files on Demand</source>
        <extracomment>636 tutorial_ver2_p2_title; 885 on_demand_sync</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep files online and download them only when you open them.</source>
        <extracomment>637 tutorial_ver2_p2_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Online only</source>
        <extracomment>638 tutorial_ver2_p2_pic_online</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available locally</source>
        <extracomment>639 tutorial_ver2_p2_pic_local</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 mentioned you in %2.</source>
        <extracomment>640 notification_page_action_mentioned</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share File</source>
        <extracomment>642 tray_share_file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 shared %2 with you.</source>
        <extracomment>643 notification_page_action_shared</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 requested access.</source>
        <extracomment>646 notification_request_access</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comments</source>
        <extracomment>647 notification_page_comment</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared with Me</source>
        <extracomment>648 shared_with_me; 662 wizard_shared_with_me_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mentions</source>
        <extracomment>649 notification_page_mentioned</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One-way upload</source>
        <extracomment>651 one_way_upload</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do not delete files on the server when they are deleted locally</source>
        <extracomment>652 dont_remove_server_when_local_remove</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Later</source>
        <extracomment>653 btn_later</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download finished</source>
        <extracomment>654 tray_notification_download_finished</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notification</source>
        <extracomment>655 tray_notification_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synced on all your devices</source>
        <extracomment>656 tray_synced_on_all_devices</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Access your files from any browser through the web portal.</source>
        <extracomment>657 tutorial_access_web_portal</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Congratulations!</source>
        <extracomment>658 tutorial_congrats</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are ready to start syncing.</source>
        <extracomment>659 tutorial_congrats_sub</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable Later</source>
        <extracomment>660 wizard_shared_with_me_enable_later</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable Now</source>
        <extracomment>661 wizard_shared_with_me_enable_now</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Sync Task</source>
        <extracomment>663 create_sync_task_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync a folder</source>
        <extracomment>664 create_sync_task_general</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync files shared with me</source>
        <extracomment>665 create_sync_task_shared_with_me; 791 shared_with_me_tab_enable_checkbox_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server does not match the one previously connected.</source>
        <extracomment>666 err_brennox_not_match</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server's protocol is not supported.</source>
        <extracomment>667 err_proto</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <extracomment>669 msg_diskfull; 849 status_desc_diskfull; 888 err_diskfull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Team Folder</source>
        <extracomment>670 team_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download only</source>
        <extracomment>671 one_way_sync_download</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The upgrade failed.</source>
        <extracomment>672 upgrade_failed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share files and folders with anyone by sending a link.</source>
        <extracomment>673 tutorial_ver2_p3_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stay Informed</source>
        <extracomment>674 tutorial_ver2_p4_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notifications tell you when files are shared or commented on.</source>
        <extracomment>675 tutorial_ver2_p4_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request Access to Presentation</source>
        <extracomment>676 tray_request_kslides</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share Folder</source>
        <extracomment>677 tray_share_dir</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request Access to Folder</source>
        <extracomment>678 tray_request_dir</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request Access to File</source>
        <extracomment>679 tray_request_file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request Access to Document</source>
        <extracomment>680 tray_request_kdoc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share Document</source>
        <extracomment>681 tray_share_kdoc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share Presentation</source>
        <extracomment>682 tray_share_kslides</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Privacy Settings</source>
        <extracomment>684 privacy_setting</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protect with a password</source>
        <extracomment>685 enable_password</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weekdays</source>
        <extracomment>686 schedulebkp_weekdays</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create a folder for files shared with me</source>
        <extracomment>688 wizard_create_shared_with_me_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Always keep on this device</source>
        <extracomment>689 tutorial_ver2_p2_pic_pin</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Any</source>
        <extracomment>690 type_any</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back up files as soon as they change.</source>
        <extracomment>698 schedulebkp_realtime_backup_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter:</source>
        <extracomment>699 filter_label_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back up files on a schedule.</source>
        <extracomment>700 schedulebkp_scheduled_backup_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The computer will shut down after the backup finishes. Continue?</source>
        <extracomment>701 auto_shutdown_confirm</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup</source>
        <extracomment>702 wizard_task_select_backup_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run on</source>
        <extracomment>703 schedulebkp_backup_schedule_run_on</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect to Server</source>
        <extracomment>704 wizard_connection_tonas_title; 782 setup_connect_to_nas</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back up the folders on this computer to your server.</source>
        <extracomment>705 backup_welcome_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backs up only when you start it.</source>
        <extracomment>706 backup_task_mode_manual_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Link</source>
        <extracomment>707 get_file_link</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start time</source>
        <extracomment>708 schedulebkp_backup_schedule_start_time</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frequency</source>
        <extracomment>709 schedulebkp_backup_schedule_freq</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last finished</source>
        <extracomment>710 schedulebkp_backup_schedule_last_end_time</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last run</source>
        <extracomment>711 schedulebkp_backup_schedule_last_run_time</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manage sharing links</source>
        <extracomment>713 sharelink_manage_tooltip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last upload: %1</source>
        <extracomment>714 main_desc_last_upload</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backs up continuously as files change.</source>
        <extracomment>715 backup_task_mode_continuous_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open in Finder</source>
        <extracomment>716 btn_open_explorer</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task Settings</source>
        <extracomment>717 main_task_setting</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(next day)</source>
        <extracomment>718 schedulebkp_next_day_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to get the sharing information.</source>
        <extracomment>719 err_get_sharing_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup destination</source>
        <extracomment>720 backup_chooser_destination</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back up files only when you start a backup.</source>
        <extracomment>721 schedulebkp_manual_backup_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allow download</source>
        <extracomment>722 allow_download</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backs up at the scheduled times.</source>
        <extracomment>723 backup_task_mode_schedule_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup Schedule</source>
        <extracomment>724 schedulebkp_backup_schedule_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manager</source>
        <extracomment>725 manager</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previewer</source>
        <extracomment>726 previewer</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Backup Task</source>
        <extracomment>727 backup_task_create</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files matching these rules are excluded.</source>
        <extracomment>728 setting_filter_table_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync temporary files</source>
        <extracomment>729 sync_temp_file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back up folders on this computer to the server.</source>
        <extracomment>730 wizard_task_select_backup_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose when to run the backup.</source>
        <extracomment>731 schedulebkp_choose_mode_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No folder selected.</source>
        <extracomment>732 backup_chooser_no_folder_selected</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup information</source>
        <extracomment>733 main_backup_information_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote folder</source>
        <extracomment>735 wizard_summary_table_remote_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>History</source>
        <extracomment>736 history_page_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Backup</source>
        <extracomment>737 first_page_backup_start</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup rules</source>
        <extracomment>738 backup_rule_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select a folder.</source>
        <extracomment>739 folder_chooser_not_select_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free Up Space</source>
        <extracomment>740 context_menu_dehydrate; 895 tray_dehydrate</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Always Keep on This Device</source>
        <extracomment>741 context_menu_pin_to_local</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove from This Device</source>
        <extracomment>742 context_menu_unpin</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom days</source>
        <extracomment>743 schedulebkp_backup_schedule_cust_days</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When done</source>
        <extracomment>744 schedulebkp_when_done</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folders on this computer</source>
        <extracomment>745 treedialog_pcname_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folders on the server</source>
        <extracomment>746 treedialog_server_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum file size</source>
        <extracomment>747 setting_filter_max_size</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exclude files whose names begin with a dot</source>
        <extracomment>748 setting_filter_point_prefix</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No valid folder was selected.</source>
        <extracomment>749 err_no_valid_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every</source>
        <extracomment>750 bkp_freq_unit_every</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Sync</source>
        <extracomment>751 first_page_sync_start</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: the SSL certificate could not be verified.</source>
        <extracomment>752 backup_err_ssl_verify_fail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to register the sync task.</source>
        <extracomment>753 wizard_register_session_failed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: the server has changed.</source>
        <extracomment>754 backup_err_brennox_change</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: the server's protocol is not supported.</source>
        <extracomment>755 backup_err_proto</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: this client version is not supported.</source>
        <extracomment>756 backup_err_version_client</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This client version is not supported. Please install the latest version.</source>
        <extracomment>757 Invalid_client_ver_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Authentication failed. Please sign in again.</source>
        <extracomment>758 authentication_err_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot connect to the server. Check your network connection.</source>
        <extracomment>759 connection_error_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Access from your IP address has been denied.</source>
        <extracomment>760 denied_access_IPaddr_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server's certificate is not valid.</source>
        <extracomment>761 invalid_certificate_err_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The software version is not supported.</source>
        <extracomment>762 invalid_software_ver_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not backed up yet</source>
        <extracomment>763 main_status_not_backup_yet</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep a folder in sync between this computer and the server.</source>
        <extracomment>764 wizard_task_select_sync_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Learn more</source>
        <extracomment>765 learn_more</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set when the backup runs.</source>
        <extracomment>766 schedulebkp_set_plan_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run missed backups when the computer starts</source>
        <extracomment>767 schedulebkp_do_missing_backup</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the folders to sync.</source>
        <extracomment>768 wizard_setsyncfolder_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the server address and your account.</source>
        <extracomment>769 wizard_connection_setting_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Review your settings.</source>
        <extracomment>770 wizard_summary_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path</source>
        <extracomment>771 wizard_summary_table_path</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server package version is not supported.</source>
        <extracomment>772 invalid_package_ver_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: authentication failed.</source>
        <extracomment>773 backup_err_auth</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: your IP address is not allowed.</source>
        <extracomment>774 backup_err_ip_not_allowed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: the server version is not supported.</source>
        <extracomment>775 backup_err_version_server</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some selected items are unavailable.</source>
        <extracomment>776 backup_chooser_have_fakenode</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup Direction Mismatch</source>
        <extracomment>777 bkp_title_err_sync_direction_mismatch</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click Install to install Korvane. Click Back to review or change your settings.</source>
        <extracomment>778 msi_ready_dlg_text_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a task type</source>
        <extracomment>779 setup_choose_task_type</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync files between this computer and the server.</source>
        <extracomment>780 setup_select_task_sync_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back up files from this computer to the server.</source>
        <extracomment>781 setup_select_task_backup_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the address of the backup server and your account.</source>
        <extracomment>783 bkp_wizard_connection_setting_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup destination is full.</source>
        <extracomment>785 bkp_desc_diskfull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a folder on the server.</source>
        <extracomment>786 setup_remote_folder_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download files only when you open them</source>
        <extracomment>787 setup_enable_on_demand_sync_checkbox_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files on demand is not available for this folder.</source>
        <extracomment>788 setup_on_demand_sync_checkbox_disabled_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared Folder Not Mounted</source>
        <extracomment>789 bkp_title_err_share_not_mounted</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upload changes to the server only</source>
        <extracomment>790 one_way_sync_upload_to_server_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back up temporary files</source>
        <extracomment>792 backup_temp_file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files that others share with you are synced to this computer.</source>
        <extracomment>793 shared_with_me_tab_enable_checkbox_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web Portal</source>
        <extracomment>794 web_portal_label</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quota Full</source>
        <extracomment>795 bkp_title_quotafull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home Folder Disabled</source>
        <extracomment>796 bkp_title_err_user_home_disabled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mon</source>
        <extracomment>797 bkp_summary_mon</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thu</source>
        <extracomment>798 bkp_summary_thur</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sat</source>
        <extracomment>799 bkp_summary_sat</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local Folder Missing</source>
        <extracomment>801 bkp_title_local_folder_miss</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup task could not be initialized.</source>
        <extracomment>802 bkp_desc_err_init_failed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The destination shared folder is not mounted.</source>
        <extracomment>803 bkp_desc_err_share_not_mounted</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Permission</source>
        <extracomment>804 bkp_title_err_share_perm</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You do not have permission to write to the destination folder.</source>
        <extracomment>805 bkp_desc_err_share_perm</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder Not Mounted</source>
        <extracomment>806 bkp_title_err_syncfolder_not_mounted</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Almost done! Korvane is syncing your files to the server.</source>
        <extracomment>807 almost_done_korvane_server_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 means no limit.</source>
        <extracomment>808 setting_filter_zero_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fri</source>
        <extracomment>809 bkp_summary_fri</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Role</source>
        <extracomment>810 role</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sun</source>
        <extracomment>811 bkp_summary_sun</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tue</source>
        <extracomment>812 bkp_summary_tues</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wed</source>
        <extracomment>813 bkp_summary_wed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Friday</source>
        <extracomment>814 friday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monday</source>
        <extracomment>815 monday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturday</source>
        <extracomment>816 saturday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sunday</source>
        <extracomment>817 sunday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thursday</source>
        <extracomment>818 thursday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tuesday</source>
        <extracomment>819 tuesday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wednesday</source>
        <extracomment>820 wednesday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I do not accept</source>
        <extracomment>821 msi_eula_dlg_reject</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk Full</source>
        <extracomment>822 bkp_title_diskfull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initialization Failed</source>
        <extracomment>823 bkp_title_err_init_failed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup direction does not match the server settings.</source>
        <extracomment>825 bkp_desc_err_sync_direction_mismatch</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup folder is not mounted.</source>
        <extracomment>826 bkp_desc_err_syncfolder_not_mounted</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The local folder to back up cannot be found.</source>
        <extracomment>827 bkp_desc_local_folder_miss</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System default</source>
        <extracomment>828 setting_option_language_default</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shared Folder Quota Full</source>
        <extracomment>829 bkp_title_msg_share_quotafull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The quota of the destination shared folder is full.</source>
        <extracomment>830 bkp_desc_msg_share_quotafull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your storage quota on the server is full.</source>
        <extracomment>831 bkp_desc_quotafull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote Folder Not Found</source>
        <extracomment>832 bkp_title_remote_folder_nonexist</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The destination folder on the server does not exist.</source>
        <extracomment>833 bkp_desc_remote_folder_nonexist</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link permission</source>
        <extracomment>834 share_link_perm</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next backup</source>
        <extracomment>836 schedulebkp_next_backup_time</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup plan</source>
        <extracomment>837 schedulebkp_backup_plan</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sharing link</source>
        <extracomment>838 sharing_link</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server version does not support Korvane backup.</source>
        <extracomment>840 korvane_backup_server_version_not_support</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are already connected to this server.</source>
        <extracomment>841 err_link_same_brennox</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading shared folders...</source>
        <extracomment>842 manage_share_loading</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane is waiting for the network.</source>
        <extracomment>843 msg_network_korvane_watch</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server's certificate has changed. Do you trust the new certificate?</source>
        <extracomment>844 msg_ssl_change</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A secure connection to the server could not be established.</source>
        <extracomment>845 msg_ssl_error</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome!</source>
        <extracomment>846 msg_welcome</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the settings to change what is synced.</source>
        <extracomment>847 quick_mode_finish_page_more_detail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the Korvane settings to change what is synced.</source>
        <extracomment>848 quick_mode_finish_page_more_detail_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server version is not supported.</source>
        <extracomment>850 status_desc_errversion_server</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Up to date</source>
        <extracomment>852 status_desc_uptodate; 946 main_status_uptodate; 1029 tray_uptodate</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <extracomment>854 preview</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder link</source>
        <extracomment>856 directory_link</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expiration date</source>
        <extracomment>857 expire_field_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane is ready to sync your files.</source>
        <extracomment>859 tutorial_congrats_sub_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Now</source>
        <extracomment>860 time_now</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version of Korvane is not supported. Please install the latest version.</source>
        <extracomment>863 Invalid_client_ver_desc_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose what you want to sync.</source>
        <extracomment>864 create_sync_task_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the Korvane web portal</source>
        <extracomment>865 accessible_open_web_portal_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane Client</source>
        <extracomment>866 app_name_korvane_client</extracomment>
        <translation>Korvane Client</translation>
    </message>
    <message>
        <source>Backup stopped: this version of Korvane is not supported.</source>
        <extracomment>867 backup_err_version_client_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This version of Korvane is not supported.</source>
        <extracomment>868 invalid_software_ver_desc_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to create the local folder.</source>
        <extracomment>870 wizard_create_local_folder_failed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save disk space: files stay on the server until you open them.</source>
        <extracomment>871 wizard_file_streaming_promotion_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: the server's certificate has changed.</source>
        <extracomment>872 backup_err_ssl_change</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Korvane Web Portal</source>
        <extracomment>873 open_korvane_web_portal</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A newer version of Tarnwick is already installed. Please uninstall it before installing Korvane.</source>
        <extracomment>874 NSIS_TARNWICK_INSTALLED_NEWER_KORVANE</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane tutorial page 1</source>
        <extracomment>875 accessible_tutorial_1_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Task type</source>
        <extracomment>876 create_task_type</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove permission</source>
        <extracomment>877 perm_delete</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click Install to install the sync and backup client.</source>
        <extracomment>879 msi_ready_dlg_sync_and_backup_text</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable files on demand</source>
        <extracomment>880 enable_on_demand_sync; 903 wizard_file_streaming_promotion_checkbox</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server's certificate has expired.</source>
        <extracomment>881 expired_certificate_err_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sync folder is missing. Please set it up again.</source>
        <extracomment>882 cloud_filter_sync_root_missing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <extracomment>884 btn_select</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Disk Space</source>
        <extracomment>886 wizard_file_streaming_promotion_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comment</source>
        <extracomment>887 comment</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid date format.</source>
        <extracomment>889 date_format_error</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid time.</source>
        <extracomment>890 invalid_time</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No valid folder</source>
        <extracomment>891 no_valid_folder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-click to edit</source>
        <extracomment>892 setting_filter_table_editor_tooltip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Role and Permission</source>
        <extracomment>893 role_permission_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit</source>
        <extracomment>894 edit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available on This Device</source>
        <extracomment>896 tray_populated</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files on demand cannot be used with this folder.</source>
        <extracomment>897 wizard_warning_invalid_on_demand_sync_path</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files are downloaded only when you open them, saving disk space.</source>
        <extracomment>898 enable_on_demand_sync_elaborate</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is not enough disk space for the Korvane sync folder.</source>
        <extracomment>899 wizard_diskfull_sync_folder_warning_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync a folder between this computer and the server.</source>
        <extracomment>900 create_sync_task_general_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync the files that others share with you?</source>
        <extracomment>901 shared_with_me_confirm</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files that others share with you can be synced to this computer.</source>
        <extracomment>902 wizard_shared_with_me_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files whose names begin with a dot</source>
        <extracomment>904 block_point_prefix</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insufficient privileges</source>
        <extracomment>906 backup_err_user_privilege</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync the files that others share with you.</source>
        <extracomment>907 create_sync_task_shared_with_me_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files shared with you</source>
        <extracomment>908 wizard_shared_with_me_subtitle</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free up disk space with files on demand.</source>
        <extracomment>909 on_demand_sync_promotion_tray_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: you do not have the required privileges.</source>
        <extracomment>910 backup_err_user_privilege_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server version is not supported by Korvane. Please upgrade the server.</source>
        <extracomment>911 err_version_server_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You do not have the required privileges.</source>
        <extracomment>912 err_user_privilege</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup destination conflicts with an existing task.</source>
        <extracomment>913 wizard_conflict_backup_destination</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server's protocol is not supported by this version of Korvane.</source>
        <extracomment>914 err_proto_korvane_diffname</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User name:</source>
        <extracomment>915 manage_proxy_label_username</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only you can access.</source>
        <extracomment>916 perm_limit_only_you_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue Anyway</source>
        <extracomment>917 btn_ssl_continue</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore previous versions of your files at any time.</source>
        <extracomment>919 tutorial_fourth_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Tour</source>
        <extracomment>920 tutorial_start_tour</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space freed up</source>
        <extracomment>921 history_placeholder_dehydrate</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Made available offline</source>
        <extracomment>922 history_placeholder_available</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>By continuing, you agree to the Korvane terms of service.</source>
        <extracomment>923 wizard_welcome_footer_info_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a user name.</source>
        <extracomment>924 err_user_name_empty</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synchronization mode</source>
        <extracomment>925 manage_option_synchronization_mode</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep files on the server when they are deleted locally</source>
        <extracomment>926 setting_filter_ignore_local_delete</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All files will be downloaded to this computer. Continue?</source>
        <extracomment>927 confirm_all_files_being_download</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version History</source>
        <extracomment>929 tutorial_fourth_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anyone with the link can open the shared file.</source>
        <extracomment>930 tutorial_third_desc_2</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep your files in sync across devices.</source>
        <extracomment>931 sync_welcome_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server does not match the one Korvane was connected to.</source>
        <extracomment>932 err_brennox_not_match_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please upgrade the server and Korvane to matching versions.</source>
        <extracomment>933 err_proto_align_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing %1 items</source>
        <extracomment>934 main_desc_processing_count</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 item remaining</source>
        <extracomment>935 main_desc_processing_count_s</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 items remaining</source>
        <extracomment>936 main_desc_processing_count_p</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quota information is not available.</source>
        <extracomment>937 quota_not_support</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have reached your storage quota.</source>
        <extracomment>938 reach_personal_quota_limit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 used</source>
        <extracomment>939 quota_storage_description</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The shared folder has reached its quota.</source>
        <extracomment>940 reach_share_quota_limit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some folders have reached their quota.</source>
        <extracomment>941 some_reach_limit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The filter settings could not be restored.</source>
        <extracomment>942 err_restore_filter_wrong</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the folders to back up.</source>
        <extracomment>943 backup_chooser_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Source Folders</source>
        <extracomment>944 backup_chooser_choose_source</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Secure connection (SSL)</source>
        <extracomment>945 connection_ssl</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Sync Folders</source>
        <extracomment>947 wizard_setsyncfolder_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User not allowed</source>
        <extracomment>948 backup_err_user_not_allowed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup stopped: your account is not allowed to use this service.</source>
        <extracomment>949 backup_err_user_not_allowed_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your account is not allowed to use this service.</source>
        <extracomment>950 err_user_not_allowed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not allowed</source>
        <extracomment>951 err_user_not_allowed_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show icons on filtered files</source>
        <extracomment>952 manage_option_show_filtered_icons</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anyone with the link can edit.</source>
        <extracomment>953 public_rw_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anyone with the link can comment.</source>
        <extracomment>955 public_commenter_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storage</source>
        <extracomment>956 storage_tab</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dialog</source>
        <extracomment>957 accessible_dialogue</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect via Farlink</source>
        <extracomment>960 connection_use_farlink</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An unexpected error occurred.</source>
        <extracomment>961 err_abnormal</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup failed.</source>
        <extracomment>962 err_backup_fail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to create the task.</source>
        <extracomment>963 err_create_session_fail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The storage quota is full.</source>
        <extracomment>964 err_quotafull</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You do not have permission to access the shared folder.</source>
        <extracomment>965 err_share_perm</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing %1</source>
        <extracomment>969 main_desc_processing_file</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Syncing</source>
        <extracomment>970 main_status_syncing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to load the tasks.</source>
        <extracomment>971 msg_fail_load_session</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation</source>
        <extracomment>973 op_operation</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder does not exist.</source>
        <extracomment>975 msg_no_such_directory</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shut down the computer when the backup is done</source>
        <extracomment>976 schedulebkp_auto_shutdown</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shutting down automatically requires administrator privileges.</source>
        <extracomment>977 schedulebkp_auto_shutdown_need_privilege</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup was cancelled.</source>
        <extracomment>978 schedulebkp_backup_cancelled</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The backup is complete.</source>
        <extracomment>979 schedulebkp_backup_done</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Times per day</source>
        <extracomment>980 schedulebkp_backup_times</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>times</source>
        <extracomment>981 schedulebkp_backup_times_unit</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup Mode</source>
        <extracomment>982 schedulebkp_choose_backup_mode_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start a backup now?</source>
        <extracomment>983 schedulebkp_confirm_backup_now</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If the computer was off at the scheduled time, the backup runs at the next startup.</source>
        <extracomment>984 schedulebkp_do_missing_backup_tooltip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select at least one day.</source>
        <extracomment>985 schedulebkp_err_empty_weekday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last backup: %1</source>
        <extracomment>986 schedulebkp_last_backup_time</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every day</source>
        <extracomment>987 schedulebkp_everyday</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual backup</source>
        <extracomment>988 schedulebkp_manual_backup</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Once a day</source>
        <extracomment>989 schedulebkp_once_a_day</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Real-time backup</source>
        <extracomment>990 schedulebkp_realtime_backup</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scheduled backup</source>
        <extracomment>991 schedulebkp_scheduled_backup</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Backup Plan</source>
        <extracomment>992 schedulebkp_set_backup_plan_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Taking a snapshot...</source>
        <extracomment>993 schedulebkp_taking_snapshot</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to update the backup plan.</source>
        <extracomment>994 schedulebkp_update_backupplaninfo_fail</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files larger than this size are not synced.</source>
        <extracomment>995 setting_filter_size_limit_tooltip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter Rules</source>
        <extracomment>996 setting_filter_table_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <extracomment>997 setting_tab_connection; 1075 connection</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Activity</source>
        <extracomment>998 tooltip_activity</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minute</source>
        <extracomment>999 timescale_min</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show removed items</source>
        <extracomment>1000 tooltip_show_removed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Used</source>
        <extracomment>1001 used</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Month</source>
        <extracomment>1002 timescale_month</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 used of %2</source>
        <extracomment>1003 used_of_quota</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background tasks</source>
        <extracomment>1004 background_task</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter settings</source>
        <extracomment>1007 accessible_title_filter_setting</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid time format.</source>
        <extracomment>1008 time_format_error</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skipped by the system filter</source>
        <extracomment>1009 history_unsynced_system_filter</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <extracomment>1010 btn_export</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Connection</source>
        <extracomment>1011 btn_edit_connection</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not Now</source>
        <extracomment>1012 btn_no_need</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Created</source>
        <extracomment>1013 col_create_time</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup Task</source>
        <extracomment>1014 main_backup_task</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse Versions</source>
        <extracomment>1016 op_version_browse</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync Task</source>
        <extracomment>1017 main_sync_task</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <extracomment>1018 setting_tab_filter</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Backup mode</source>
        <extracomment>1019 schedulebkp_backup_mode</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recently Changed</source>
        <extracomment>1020 recently_changed_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back Up Now</source>
        <extracomment>1021 schedulebkp_backup_now</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Files to Sync</source>
        <extracomment>1022 selective_sync_file_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selective Sync Mode</source>
        <extracomment>1023 selective_sync_mode_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Equal to</source>
        <extracomment>1026 size_equal</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Less than</source>
        <extracomment>1027 size_less</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Greater than</source>
        <extracomment>1028 size_greater</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Computer</source>
        <extracomment>1030 treedialog_pc_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane will back up conflicting files.</source>
        <extracomment>1031 wizard_conflict_backup_warning_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane will back up files that conflict with the backup destination.</source>
        <extracomment>1032 wizard_conflict_backup_warning_korvane_backup</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address</source>
        <extracomment>1033 title_ip</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local sync folder</source>
        <extracomment>1034 manage_share_local_syncfolder</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 replied to a comment on %2.</source>
        <extracomment>1035 notification_page_action_comment_reply</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Sync Status</source>
        <extracomment>1036 open_sync_status</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replies</source>
        <extracomment>1037 notification_page_comment_reply</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not synced</source>
        <extracomment>1038 history_unsynced</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Tarnwick server version is not supported by Korvane.</source>
        <extracomment>1039 err_version_server_tarnwick_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot connect to the server.</source>
        <extracomment>1040 brennox_widget_connection_error</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>1041 btn_close</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced Sharing</source>
        <extracomment>1042 advance_share_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to apply the advanced sharing settings.</source>
        <extracomment>1043 adv_share_error</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable advanced sharing</source>
        <extracomment>1044 enable_adv_sharing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable protected sharing</source>
        <extracomment>1045 enable_protection_sharing</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> shared with you (protected)</source>
        <extracomment>1046 msg_adv_sharing_bubble_suffix</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protected Sharing</source>
        <extracomment>1047 protection_share_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protect Link</source>
        <extracomment>1048 protect_link_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link will stop working for everyone who has it.</source>
        <extracomment>1049 remove_link_confirm_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Link?</source>
        <extracomment>1050 remove_link_confirm_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export the logs to help troubleshoot problems.</source>
        <extracomment>1051 export_log_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files matching these rules are not synced.</source>
        <extracomment>1052 sync_file_filter_rule_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <extracomment>1054 timescale_day</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>People using this link will no longer be able to open the file.</source>
        <extracomment>1055 remove_link_warn_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Link</source>
        <extracomment>1056 remove_link_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Troubleshooting</source>
        <extracomment>1057 troubleshooting</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record detailed logs for troubleshooting.</source>
        <extracomment>1058 adv_log_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Logs</source>
        <extracomment>1059 export_log_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The exported file contains:</source>
        <extracomment>1060 export_log_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operating system information</source>
        <extracomment>1061 export_log_content_os_info_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced Logging</source>
        <extracomment>1062 adv_log_title</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced logging may slow down syncing.</source>
        <extracomment>1063 adv_log_info</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Privacy Statement</source>
        <extracomment>1064 privacy_statements</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Client logs</source>
        <extracomment>1065 export_log_content_client_log_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable advanced logging</source>
        <extracomment>1066 enable_adv_log_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skipped by a filter rule</source>
        <extracomment>1067 history_unsynced_common_filter</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skipped: no permission</source>
        <extracomment>1068 history_unsynced_system_no_perm</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Terms of Service</source>
        <extracomment>1069 terms_of_service</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files larger than %1 cannot be stored on a VRELL volume.</source>
        <extracomment>1070 file_size_limit_tooltip_VRELL</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This folder is already used by a backup task.</source>
        <extracomment>1071 wizard_conflict_backup_task_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An unexpected error occurred. Please try again later.</source>
        <extracomment>1072 err_abnormal_desc</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The version information is invalid.</source>
        <extracomment>1073 error_zero_version</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to enable files on demand.</source>
        <extracomment>1074 wizard_enable_on_demand_sync_failed</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection failed: %1</source>
        <extracomment>1076 err_connection_failed_information</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>:</source>
        <extracomment>1077 colon</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your entire home folder can now be indexed.</source>
        <extracomment>1078 notification_can_index_entire_home</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your entire home folder can now be synced.</source>
        <extracomment>1079 notification_can_sync_entire_home</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Korvane downloads changes from the server only.</source>
        <extracomment>1080 one_way_sync_download_from_server_korvane</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Service disabled</source>
        <extracomment>1081 err_hubosdisable_short</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server is migrating the home folder index. Please try again later.</source>
        <extracomment>1082 wizard_server_index_home_migrating</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The service is disabled on the server.</source>
        <extracomment>1083 err_hubosdisable</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync has been disabled for this folder.</source>
        <extracomment>1084 wizard_user_disable_sync_folder_warning</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
